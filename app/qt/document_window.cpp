#include "app/qt/document_window.h"

#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

#include <vector>

#include "app/qt/qt_conversions.h"

namespace marvist::qt {

QString heading_anchor(const QString& heading) {
    QString anchor;
    for (const QChar ch : heading.trimmed().toLower()) {
        if (ch.isLetterOrNumber() || ch == u'-' || ch == u'_') {
            anchor += ch;
        } else if (ch.isSpace()) {
            anchor += u'-';
        }
    }
    return anchor;
}

void name_heading_anchors(QTextDocument* document) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0) continue;
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({heading_anchor(block.text())});
        cursor.mergeCharFormat(format);
    }
}

void fit_pictures(QTextBrowser* browser, int widest) {
    struct Picture {
        int position;
        QTextImageFormat format;
    };
    std::vector<Picture> pictures;
    QTextDocument* document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                pictures.push_back({fragment.position(), fragment.charFormat().toImageFormat()});
        }
    }
    for (Picture& picture : pictures) {
        const QVariant data =
            browser->loadResource(QTextDocument::ImageResource, browser->source().resolved(QUrl(picture.format.name())));
        QImage image;
        if (data.userType() == QMetaType::QImage) {
            image = data.value<QImage>();
        } else {
            image.loadFromData(data.toByteArray());
        }
        if (image.isNull() || image.width() <= widest) continue;
        // Scaled smoothly once, rather than drawn scaled at every paint.
        const QImage fitted = image.scaledToWidth(widest, Qt::SmoothTransformation);
        // Resources are looked up by their names resolved against the base URL.
        document->addResource(QTextDocument::ImageResource, document->baseUrl().resolved(QUrl(picture.format.name())),
                              fitted);
        picture.format.setWidth(fitted.width());
        picture.format.setHeight(fitted.height());
        QTextCursor cursor(document);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
}

DocumentWindow* DocumentWindow::open(const ui::DocumentWindowSpec& request, QWidget* owner) {
    if (!QFile::exists(QStringLiteral(":/") + to_qstring(request.document))) return nullptr;
    return new DocumentWindow(request, owner);
}

DocumentWindow::DocumentWindow(const ui::DocumentWindowSpec& request, QWidget* owner) : QWidget(owner) {
    set_up_top_level(*this, owner != nullptr, request.title);
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    // The document's own URL, so that the images it names resolve beside it.
    browser_->setSource(QUrl(QStringLiteral("qrc:/") + to_qstring(request.document)), QTextDocument::MarkdownResource);
    name_heading_anchors(browser_->document());
    fit_pictures(browser_, kWidestPicture);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}

}  // namespace marvist::qt
