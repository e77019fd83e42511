#include "app/qt/qt_windowing.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/qt/document_window.h"
#include "app/qt/frame_placement.h"
#include "app/qt/item_dialog.h"
#include "app/qt/joint_plot_window.h"
#include "app/qt/qt_conversions.h"
#include "app/qt/standard_dialogs.h"
#include "app/qt/table_import_dialog.h"
#include "app/qt/table_window.h"

namespace marvist::qt {

namespace {

// While a job writes its windows, they are let paint this often (ms), so
// that the progress window shows signs of life during a long job.
constexpr qint64 kPaintInterval = 100;

}  // namespace

QtWindowing::QtWindowing(QtWindowingOptions options)
    : options_(std::move(options)), printer_(options_.print_folder) {
    // The program ends when the main window closes, not with its last window.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setWindowIcon(application_icon());
    since_paint_.start();
}

QtWindowing::~QtWindowing() {
    closing_down_ = true;
    for (auto& [id, window] : windows_) {
        if (window && window != main_) delete window.data();
    }
    delete main_.data();
}

ui::WindowId QtWindowing::add_window(QWidget* widget) {
    const ui::WindowId id = next_id_++;
    windows_[id] = widget;
    return id;
}

QWidget* QtWindowing::widget(ui::WindowId window) const {
    const auto found = windows_.find(window);
    if (found == windows_.end() || !found->second) return nullptr;
    if (found->second == main_ && main_closed_) return nullptr;
    return found->second.data();
}

QWidget* QtWindowing::owner_widget(ui::WindowId owner) const {
    if (QWidget* found = widget(owner)) return found;
    return main_closed_ ? nullptr : main_.data();
}

ScrollWindow* QtWindowing::scroll_window(ui::WindowId window) const {
    return dynamic_cast<ScrollWindow*>(widget(window));
}

bool QtWindowing::ask_close(ui::WindowId window) {
    if (quitting_ || !confirm_close_) return true;
    return confirm_close_(window);
}

// ---- Main window and event loop ----

ui::WindowId QtWindowing::create_main_window(const ui::MainWindowSpec& request) {
    if (main_) return main_id_;
    main_id_ = next_id_;
    confirm_close_ = request.confirm_close;
    main_ = new MainWindow(request, main_id_, [this] { main_window_closed(); });
    add_window(main_);
    main_closed_ = false;
    place_frame(main_, screen_rect(request.placement), QMargins());
    main_->show();
    return main_id_;
}

void QtWindowing::event_loop() {
    if (!main_ || main_closed_ || quitting_) return;
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void QtWindowing::main_window_closed() {
    main_closed_ = true;
    close_all_but_main();
    if (loop_) loop_->quit();
}

void QtWindowing::close_all_but_main() {
    for (auto& [id, window] : windows_) {
        if (!window || window == main_) continue;
        window->hide();
        window->deleteLater();
    }
    windows_.clear();
    if (main_) windows_[main_id_] = main_.data();
}

void QtWindowing::quit_program() {
    quitting_ = true;
    // Modal dialogs and message boxes still open end as cancelled.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog->isVisible()) dialog->reject();
    }
    close_all_but_main();
    if (main_ && !main_closed_) {
        main_->close_without_asking();
        main_->close();
    }
    main_closed_ = true;
    if (loop_) loop_->quit();
}

void QtWindowing::show_line_column_panes(bool shown) {
    if (!main_) return;
    main_->status_panes()->show_line_column(shown);
    if (shown && followed_) follow_cursor(followed_);
}

void QtWindowing::show_status_text(std::string_view text) {
    if (main_) main_->status_panes()->set_text(to_qstring(text));
}

void QtWindowing::file_window_gone() {
    if (closing_down_ || !main_) return;
    ScrollWindow* last = nullptr;
    for (auto& [id, window] : windows_) {
        auto* scroll = dynamic_cast<ScrollWindow*>(window.data());
        if (scroll && scroll->shows_file() && (!last || scroll->activated() > last->activated())) last = scroll;
    }
    if (!last) {
        main_->status_panes()->show_line_column(false);
        return;
    }
    follow_cursor(last);
}

QRect QtWindowing::main_bars() const {
    if (!main_ || main_closed_) return {};
    // The menu bar and the toolbar stand above the central widget.
    const int height = main_->centralWidget() ? main_->centralWidget()->geometry().top() : 0;
    return QRect(main_->mapToGlobal(QPoint(0, 0)), QSize(main_->width(), qMax(0, height)));
}

QMargins QtWindowing::expected_margins() const {
    return main_ && main_->isVisible() ? frame_margins(main_) : QMargins();
}

void QtWindowing::draw_text(ui::WindowId window, std::string_view text, const ui::TextStyle& style) {
    if (main_ && window == main_id_) main_->client_area()->draw_text(text, style);
}

// ---- Dialogs, message boxes, file and font dialogs ----

int QtWindowing::dialog_box(std::vector<ui::DialogItem>& items, std::string_view title, const ui::FontSpec& font) {
    if (quitting_) return ui::kDialogCancel;
    ItemDialog dialog(items, to_qstring(title), to_qfont(font), owner_widget(ui::kNoWindow));
    return dialog.exec() == QDialog::Accepted ? ui::kDialogOk : ui::kDialogCancel;
}

ui::WindowId QtWindowing::modeless_dialog(std::vector<ui::DialogItem> items, std::string_view title,
                                          ui::WindowId owner, double left, double top) {
    if (quitting_) return ui::kNoWindow;
    QWidget* parent = owner_widget(owner);
    auto* dialog = new ItemDialog(std::move(items), to_qstring(title), QApplication::font(), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setModal(false);
    const QRect place = screen_rect(ui::Placement{left, top, 0.0, 0.0});
    dialog->move(place.topLeft());
    dialog->show();
    return add_window(dialog);
}

int QtWindowing::message_box(std::string_view text, std::string_view title, ui::MessageStyle style,
                             ui::WindowId owner) {
    if (quitting_) return style == ui::MessageStyle::YesNoQuestion ? ui::kButtonNo : ui::kButtonOk;
    return show_message_box(owner_widget(owner), text, title, style);
}

std::optional<std::string> QtWindowing::open_file_dialog(const ui::FileDialogSpec& request) {
    if (quitting_) return std::nullopt;
    return ask_file_name(owner_widget(request.owner), request, false);
}

std::optional<std::string> QtWindowing::save_file_dialog(const ui::FileDialogSpec& request) {
    if (quitting_) return std::nullopt;
    return ask_file_name(owner_widget(request.owner), request, true);
}

std::optional<ui::FontSpec> QtWindowing::choose_font(std::string_view prompt) {
    if (quitting_) return std::nullopt;
    return ask_font(owner_widget(ui::kNoWindow), prompt, to_qfont(ui::FontSpec{"LotusLineDraw", 9}));
}

std::optional<std::string> QtWindowing::choose_folder(const ui::FolderDialogSpec& request) {
    if (quitting_) return std::nullopt;
    return ask_folder(owner_widget(request.owner), request);
}

// ---- Scroll windows ----

ui::WindowId QtWindowing::create_scroll_window(const ui::ScrollWindowSpec& request) {
    if (quitting_) return ui::kNoWindow;
    const ui::WindowId id = next_id_;
    QWidget* owner = request.parent == ui::kNoWindow ? nullptr : owner_widget(request.parent);
    auto* window = new ScrollWindow(request, owner, [this, id] { return ask_close(id); });
    add_window(window);
    if (window->shows_file()) {
        window->on_cursor([this](ScrollWindow* moved) { follow_cursor(moved); });
        followed_ = window;
        // The line and column panes go with the last window showing a file.
        // Bound to the main window, which dies with the layer, so that a
        // window deleted after the layer is gone calls nothing.
        if (main_) QObject::connect(window, &QObject::destroyed, main_.data(), [this] { file_window_gone(); });
    }
    std::optional<QRect> keep_clear;
    if (request.below_main_bars && !main_bars().isEmpty()) keep_clear = main_bars();
    place_frame(window, frame_clear_of(screen_rect(request.placement), keep_clear, screen_rect({0.0, 0.0, 1.0, 1.0})),
                expected_margins());
    window->show();
    follow_cursor(window);
    return id;
}

void QtWindowing::follow_cursor(ScrollWindow* window) {
    if (!window || !window->shows_file() || !main_) return;
    followed_ = window;
    main_->status_panes()->set_line_column(window->cursor_line(), window->cursor_column());
}

void QtWindowing::let_windows_paint() {
    since_paint_.restart();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtWindowing::write_text(ui::WindowId window, std::string_view line) {
    ScrollWindow* target = scroll_window(window);
    if (!target) return;
    target->append_line(line);
    if (since_paint_.elapsed() >= kPaintInterval) let_windows_paint();
}

void QtWindowing::start_autopaint(ui::WindowId window) {
    // Every line written stays in the window, so there is nothing to set up.
    (void)window;
}

void QtWindowing::end_autopaint(ui::WindowId window) {
    ScrollWindow* target = scroll_window(window);
    if (!target) return;
    target->show_last_line();
    let_windows_paint();
}

bool QtWindowing::window_exists(ui::WindowId window) {
    return widget(window) != nullptr;
}

void QtWindowing::destroy_window(ui::WindowId window) {
    QWidget* target = widget(window);
    if (!target) return;
    if (target == main_) {
        main_->close_without_asking();
        main_->close();
        return;
    }
    windows_.erase(window);
    target->hide();
    target->deleteLater();
}

ui::WindowId QtWindowing::create_table_window(const ui::TableWindowSpec& request) {
    if (quitting_) return ui::kNoWindow;
    QWidget* owner = request.owner == ui::kNoWindow ? nullptr : owner_widget(request.owner);
    auto* window = new TableWindow(request, owner);
    const ui::WindowId id = add_window(window);
    place_frame(window, screen_rect(request.placement), expected_margins());
    window->show();
    return id;
}

ui::WindowId QtWindowing::create_document_window(const ui::DocumentWindowSpec& request) {
    if (quitting_) return ui::kNoWindow;
    QWidget* owner = request.owner == ui::kNoWindow ? nullptr : owner_widget(request.owner);
    DocumentWindow* window = DocumentWindow::open(request, owner);
    if (!window) return ui::kNoWindow;
    const ui::WindowId id = add_window(window);
    place_frame(window, screen_rect(request.placement), expected_margins());
    window->show();
    return id;
}

ui::WindowId QtWindowing::last_active(const std::vector<ui::WindowId>& among) {
    ui::WindowId last = ui::kNoWindow;
    quint64 when = 0;
    for (ui::WindowId window : among) {
        QWidget* target = widget(window);
        if (!target) continue;
        const auto* scroll = dynamic_cast<ScrollWindow*>(target);
        const quint64 activated = scroll ? scroll->activated() : 0;
        if (last == ui::kNoWindow || activated > when) {
            last = window;
            when = activated;
        }
    }
    return last;
}

void QtWindowing::enable_command(int command, bool enabled) {
    if (main_) main_->enable_command(command, enabled);
}

ui::WindowId QtWindowing::joint_plot_window(const BiplotSolution& solution, ui::WindowId owner) {
    if (quitting_) return ui::kNoWindow;
    auto* window = new JointPlotWindow(solution, owner_widget(owner));
    const ui::WindowId id = add_window(window);
    window->show();
    return id;
}

void QtWindowing::activate_window(ui::WindowId window) {
    QWidget* target = widget(window);
    if (!target) return;
    if (auto* scroll = dynamic_cast<ScrollWindow*>(target)) scroll->mark_active();
    if (target->isMinimized()) target->showNormal();
    target->show();
    target->raise();
    target->activateWindow();
}

// ---- Printing ----

bool QtWindowing::print_page_begin(ui::WindowId owner, std::string_view title) {
    if (quitting_) return false;
    return printer_.begin_page(owner_widget(owner), to_qstring(title));
}

void QtWindowing::print_line(std::string_view line, const ui::FontSpec& font) {
    printer_.add_line(line, font);
}

void QtWindowing::print_page_end() {
    printer_.end_page();
}

void QtWindowing::page_setup_dialog() {
    if (quitting_) return;
    printer_.page_setup(owner_widget(ui::kNoWindow));
}

// ---- Table import ----

std::optional<ui::TableImportChoice> QtWindowing::table_import_dialog(const ui::TableImportRequest& request) {
    if (quitting_) return std::nullopt;
    TableImportDialog dialog(request, owner_widget(request.owner));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

// ---- Files ----

bool QtWindowing::copy_file(const std::string& from, const std::string& to, bool replace) {
    const QString source = path_to_qstring(from);
    const QString target = path_to_qstring(to);
    const QFileInfo source_info(source);
    const QFileInfo target_info(target);
    if (!source_info.isFile()) return false;
    if (target_info.exists()) {
        if (!replace) return false;
        // A file copied onto itself is already in place; replacing it would lose it.
        if (source_info.canonicalFilePath() == target_info.canonicalFilePath()) return true;
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return false;
    // Written beside the target and renamed over it at the end, so a failed
    // copy leaves an existing file of that name as it was.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) return false;
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0) {
            out.cancelWriting();
            return false;
        }
        if (got == 0) break;
        if (out.write(buffer, got) != got) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

}  // namespace marvist::qt
