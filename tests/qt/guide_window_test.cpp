// Help > User's Guide in the desktop program: the guide built into the
// program, rendered from its Markdown, with its pictures and its links
// within the document.
#include <QFile>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include <algorithm>
#include <memory>

#include "app/main_program.h"
#include "app/qt/document_window.h"
#include "app/qt/qt_windowing.h"
#include "qt_test_support.h"

using marvist::qt::DocumentWindow;
using marvist::qt::QtWindowing;
using marvist::test::find_action;
namespace ui = marvist::ui;

namespace {

QString guide_source() {
    return QString::fromUtf8(marvist::test::contents(QStringLiteral(MARVIST_SOURCE_DIR "/docs/guide.md")));
}

// Every anchor of the document: the names it defines and the links it holds.
void anchors(QTextDocument* document, QStringList& names, QStringList& links) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            names += format.anchorNames();
            if (!format.anchorHref().isEmpty()) links += format.anchorHref();
        }
    }
}

}  // namespace

class GuideWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The Help menu's item opens a window of the guide's text, headed by the
    // guide's first heading; the markers of its checked blocks do not show.
    void theHelpItemOpensTheGuide() {
        QtWindowing layer;
        marvist::Session session(layer);
        layer.create_main_window(marvist::main_window_spec(session));
        QAction* item = find_action(layer.main_window()->menuBar(), "&User's Guide");
        QVERIFY(item);
        item->trigger();
        auto* window = qobject_cast<DocumentWindow*>(layer.widget(session.guide_window));
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Marvist User's Guide"));

        const QString source = guide_source();
        const QRegularExpressionMatch first = QRegularExpression("^# (.+)$", QRegularExpression::MultilineOption).match(source);
        QVERIFY(first.hasMatch());
        const QString text = window->browser()->toPlainText();
        QVERIFY2(text.startsWith(first.captured(1)), qPrintable(text.left(80)));
        QVERIFY(!text.contains("<!--"));
        QVERIFY(!text.contains("-->"));
        // Its headings are headings, its tables tables.
        QVERIFY(window->browser()->document()->begin().blockFormat().headingLevel() == 1);

        item->trigger();  // brought to the front, not opened again
        QCOMPARE(window->parentWidget(), nullptr);
        const QWidgetList tops = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(tops.begin(), tops.end(),
                               [](QWidget* w) { return qobject_cast<DocumentWindow*>(w) && w->isVisible(); }),
                 1);
    }

    // Every picture the guide names is built into the program beside it and
    // loads as an image.
    void everyPictureOfTheGuideLoads() {
        const auto window = std::unique_ptr<DocumentWindow>(
            DocumentWindow::open(ui::DocumentWindowSpec{.title = "Guide", .document = "docs/guide.md"}, nullptr));
        QVERIFY(window);
        QTextBrowser* browser = window->browser();
        const QRegularExpression picture(R"(!\[[^\]]*\]\(([^)\s]+)\))");
        int pictures = 0;
        for (auto it = picture.globalMatch(guide_source()); it.hasNext();) {
            const QString name = it.next().captured(1);
            const QVariant data = browser->loadResource(QTextDocument::ImageResource, browser->source().resolved(name));
            QImage image;
            if (data.canConvert<QByteArray>()) image.loadFromData(data.toByteArray());
            if (data.canConvert<QImage>() && image.isNull()) image = data.value<QImage>();
            QVERIFY2(!image.isNull(), qPrintable(name));
            ++pictures;
        }
        QVERIFY(pictures >= 5);  // the screenshots of the desktop program

        // A screenshot of the whole screen is drawn no wider than the window's
        // limit, its proportions kept.
        int fitted = 0;
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (!format.isImageFormat()) continue;
                const QTextImageFormat picture = format.toImageFormat();
                if (!picture.name().endsWith("finished-job.png")) continue;
                QCOMPARE(picture.width(), double(marvist::qt::kWidestPicture));
                QCOMPARE(qRound(picture.height()), qRound(900.0 * marvist::qt::kWidestPicture / 1280));
                const QImage drawn = browser->document()->resource(QTextDocument::ImageResource, QUrl(picture.name())).value<QImage>();
                QCOMPARE(drawn.width(), marvist::qt::kWidestPicture);
                ++fitted;
            }
        }
        QCOMPARE(fitted, 1);
    }

    // A link within the guide finds the heading it names; any other link
    // leaves the program (the program holds no other document).
    void linksFindTheirHeadings() {
        const auto window = std::unique_ptr<DocumentWindow>(
            DocumentWindow::open(ui::DocumentWindowSpec{.title = "Guide", .document = "docs/guide.md"}, nullptr));
        QStringList names, links;
        anchors(window->browser()->document(), names, links);
        QVERIFY(names.contains("messages"));
        int within = 0;
        for (const QString& link : links) {
            if (link.startsWith('#')) {
                QVERIFY2(names.contains(link.mid(1)), qPrintable(link));
                ++within;
            } else {
                QVERIFY2(link.startsWith("https://") || link.startsWith("http://"), qPrintable(link));
            }
        }
        QVERIFY(within > 0);
    }

    void aDocumentThatIsNotBuiltInOpensNoWindow() {
        QtWindowing layer;
        QCOMPARE(layer.create_document_window(ui::DocumentWindowSpec{.title = "x", .document = "docs/none.md"}),
                 ui::kNoWindow);
    }
};

QTEST_MAIN(GuideWindowTest)
#include "guide_window_test.moc"
