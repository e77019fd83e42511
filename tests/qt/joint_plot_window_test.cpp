// The "Joint Plot" window: it opens on axes 1 and 2, its controls lay the
// plot out anew, tooltips find the point under the mouse, and its exports
// write SVG, PNG and PDF files that read back.
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>

#include "analysis/driver.h"
#include "app/batch/job_form.h"
#include "app/batch/setup_file.h"
#include "app/joint_plot_command.h"
#include "app/main_program.h"
#include "app/qt/joint_plot_view.h"
#include "app/qt/joint_plot_window.h"
#include "app/qt/qt_windowing.h"
#include "biplot/plot_style.h"
#include "listing/listing_writer.h"
#include "qt_test_support.h"

using marvist::AxisPair;
using marvist::BiplotSolution;
using marvist::PointKind;
using marvist::qt::JointPlotWindow;
using marvist::qt::QtWindowing;
using namespace marvist::test;

namespace {

std::string numbered(const char* prefix, int n) {
    std::string name(prefix);
    name.append(std::to_string(n));
    return name;
}

// Three axes, `rows` rows and `columns` columns spread on a spiral, one
// supplementary column.
BiplotSolution spiral(int rows, int columns) {
    BiplotSolution s{.title = "Spiral", .row_variable = "Row", .column_variable = "Column",
                     .inertia_shares = {0.6, 0.25, 0.1}};
    for (int i = 0; i < rows; ++i) {
        const double a = 0.7 * i, r = 0.2 + 0.8 * i / rows;
        s.rows.push_back({numbered("r", i + 1), {r * std::cos(a), r * std::sin(a), 0.3 - 0.01 * i},
                          {1.0 / rows, 1.0 / rows, 1.0 / rows}});
    }
    for (int j = 0; j < columns; ++j) {
        const double a = 1.3 * j + 0.4, r = 0.05 + 0.3 * j / columns;
        s.columns.push_back({numbered("c", j + 1), {r * std::cos(a), r * std::sin(a), 0.02 * j},
                             {1.0 / columns, 1.0 / columns, 1.0 / columns}});
    }
    s.supplementary.push_back({"extra", {0.1, -0.2, 0.05}, {}});
    return s;
}

QComboBox* axis_box(JointPlotWindow& w, int which) { return w.findChildren<QComboBox*>().at(which); }

QCheckBox* check_box(JointPlotWindow& w, const QString& text) {
    for (QCheckBox* box : w.findChildren<QCheckBox*>())
        if (box->text().remove('&') == text) return box;
    return nullptr;
}

// The example job mobility (two axes), run in a copy of the examples.
marvist::JobResults mobility_results(const QTemporaryDir& folder) {
    for (const char* ext : {".set", ".dat", ".lab"}) {
        QFile::copy(QStringLiteral(MARVIST_SOURCE_DIR "/examples/mobility") + ext,
                    folder.filePath(QStringLiteral("mobility") + ext));
    }
    marvist::JobRecord job;
    marvist::read_setup_file(folder.filePath("mobility.set").toStdString(), job);
    marvist::read_back_job_form(job);
    marvist::JobContext context;
    context.base_folder = folder.path().toStdString();
    marvist::ListingWriter writer;
    return marvist::run_job(job, context, writer);
}

// Pages of a PDF file: its page objects ("/Type /Page", not "/Pages").
int pdf_pages(const QByteArray& bytes) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s])"));
    return static_cast<int>(QString::fromLatin1(bytes).count(page));
}

}  // namespace

class JointPlotWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The program's way: after an NSCA job the menu item is enabled and the
    // window opens on the job's solution; the next job closes it.
    void opensForAnNscaJob() {
        QTemporaryDir folder;
        QtWindowing layer;
        marvist::Session session(layer);
        session.main_window = layer.create_main_window(marvist::main_window_spec(session));
        QAction* item = find_action(layer.main_window()->menuBar(), "&Show Joint Plot");
        QVERIFY(item && !item->isEnabled());

        marvist::keep_plot_solution(session, mobility_results(folder));
        QVERIFY(item->isEnabled());
        marvist::ShowJointPlot(session);
        auto* window = qobject_cast<JointPlotWindow*>(layer.widget(session.plot_window));
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->windowTitle(), QStringLiteral("Joint Plot - Class of sons by class of fathers (invented counts)"));
        QCOMPARE(window->layout().arrows.size(), std::size_t{5});
        QCOMPARE(window->layout().markers.size(), std::size_t{5});
        QCOMPARE(window->plot().horizontal_title, std::string("Axis 1 (70.5 %)"));
        QCOMPARE(window->plot().vertical_title, std::string("Axis 2 (19.5 %)"));

        marvist::drop_plot_solution(session);
        QVERIFY(!layer.window_exists(session.plot_window) || session.plot_window == marvist::ui::kNoWindow);
        QVERIFY(!item->isEnabled());
    }

    void opensOnTheFirstTwoAxesWithEveryPoint() {
        JointPlotWindow w(spiral(5, 4));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.axes(), (AxisPair{1, 2}));
        QCOMPARE(w.layout().arrows.size(), std::size_t{5});
        QCOMPARE(w.layout().markers.size(), std::size_t{5});
        QCOMPARE(w.layout().labels.size(), std::size_t{10});
        QCOMPARE(axis_box(w, 0)->count(), 3);
        QCOMPARE(axis_box(w, 0)->itemText(2), QStringLiteral("Axis 3 (10.0 %)"));
        QVERIFY(w.windowTitle().contains("Spiral"));
    }

    // A new axis in either box draws the plot anew; the same axis in both
    // boxes is not allowed: the other box takes the axis given up.
    void changingTheAxesRedraws() {
        JointPlotWindow w(spiral(5, 4));
        const int before = w.redraws();
        axis_box(w, 1)->setCurrentIndex(2);
        QCOMPARE(w.axes(), (AxisPair{1, 3}));
        QCOMPARE(w.redraws(), before + 1);
        QCOMPARE(w.plot().vertical_title, std::string("Axis 3 (10.0 %)"));
        QCOMPARE(w.plot().points[0].y, 0.3);
        axis_box(w, 0)->setCurrentIndex(2);
        QCOMPARE(w.axes(), (AxisPair{3, 1}));
        QCOMPARE(axis_box(w, 1)->currentIndex(), 0);
        w.set_axes({2, 3});
        QCOMPARE(axis_box(w, 0)->currentIndex(), 1);
        QCOMPARE(w.plot().horizontal_title, std::string("Axis 2 (25.0 %)"));
    }

    void controlsChangeWhatIsDrawn() {
        JointPlotWindow w(spiral(5, 4));
        const double x = w.plot().points[0].x;
        check_box(w, "Reflect horizontal axis")->setChecked(true);
        QCOMPARE(w.plot().points[0].x, -x);
        QVERIFY(w.plot().horizontal_title.find("reflected") != std::string::npos);
        check_box(w, "Rows (arrows)")->setChecked(false);
        QVERIFY(w.layout().arrows.empty());
        check_box(w, "Labels")->setChecked(false);
        QVERIFY(w.layout().labels.empty());
        check_box(w, "Labels")->setChecked(true);
        check_box(w, "Supplementary points")->setChecked(false);
        QCOMPARE(w.layout().markers.size(), std::size_t{4});
    }

    // The tooltip goes to the point under the mouse (or whose label is).
    void pointsAreFoundWhereTheyAreDrawn() {
        JointPlotWindow w(spiral(5, 4));
        for (const auto& m : w.layout().markers) QCOMPARE(w.view()->point_at(QPointF(m.x, m.y), 3.0), m.point);
        for (const auto& a : w.layout().arrows) QCOMPARE(w.view()->point_at(QPointF(a.tip_x, a.tip_y), 3.0), a.point);
        const auto& label = w.layout().labels.front();
        QCOMPARE(w.view()->point_at(QPointF(label.box.left + 1.0, label.box.top + 1.0), 0.0), label.point);
        QCOMPARE(w.view()->point_at(QPointF(-50.0, -50.0), 3.0), -1);
    }

    void exportsWriteValidSvgPngAndPdf() {
        QTemporaryDir folder;
        JointPlotWindow w(spiral(8, 6));

        const QString svg = folder.filePath("plot.svg");
        QVERIFY(!w.save_svg(svg));
        QXmlStreamReader xml(contents(svg));
        int texts = 0;
        QString root;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement) {
                if (root.isEmpty()) root = xml.name().toString();
                if (xml.name() == QStringLiteral("text")) ++texts;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(root, QStringLiteral("svg"));
        QVERIFY(texts >= 15);

        const QString png = folder.filePath("plot.png");
        QVERIFY(!w.save_png(png, 150));
        const QImage image(png);
        QCOMPARE(image.width(), static_cast<int>(std::ceil(w.layout().width * 150.0 / 72.0)));
        QCOMPARE(std::lround(image.dotsPerMeterX() * 0.0254), 150L);
        const auto vermilion = marvist::plot_style::marker_colour(PointKind::Column);
        QVERIFY(!ink(image, QColor(vermilion.r, vermilion.g, vermilion.b)).isEmpty());

        const QString pdf = folder.filePath("plot.pdf");
        QVERIFY(!w.save_pdf(pdf));
        const QByteArray bytes = contents(pdf);
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        QCOMPARE(pdf_pages(bytes), 1);

        // Copy as Image: the plot at 192 dots per inch on the clipboard.
        find_action(&w, "&Copy as Image")->trigger();
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.width(), static_cast<int>(std::ceil(w.layout().width * 192.0 / 72.0)));

        // A folder that does not exist: an error, and no file.
        const QString nowhere = folder.filePath("missing/plot.svg");
        QVERIFY(w.save_svg(nowhere).has_value());
        QVERIFY(!QFileInfo::exists(nowhere));
    }

    // 2000 points laid out and drawn anew, the time printed.
    void redrawOfTwoThousandPoints() {
        JointPlotWindow w(spiral(1000, 1000));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QElapsedTimer timer;
        constexpr int kTimes = 5;
        qint64 layout = 0, paint = 0;
        for (int k = 0; k < kTimes; ++k) {
            timer.start();
            w.set_axes({k % 2 == 0 ? 1 : 2, 3});
            layout += timer.nsecsElapsed();
            timer.start();
            w.view()->viewport()->repaint();
            paint += timer.nsecsElapsed();
        }
        const double ms = (layout + paint) / 1e6 / kTimes;
        qInfo("redraw of %zu points: %.1f ms (layout %.1f ms, painting %.1f ms)", w.plot().points.size(), ms,
              layout / 1e6 / kTimes, paint / 1e6 / kTimes);
        QCOMPARE(w.plot().points.size(), std::size_t{2001});
        QVERIFY(ms < 1000.0);
    }
};

QTEST_MAIN(JointPlotWindowTest)
#include "joint_plot_window_test.moc"
