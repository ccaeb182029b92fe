#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

Modal_script::Modal_script() { QTimer::singleShot(5, &context_, [this] { poll(); }); }

Modal_script::~Modal_script() = default;

Modal_script& Modal_script::then(Answer answer)
{
    answers_.push_back(std::move(answer));
    return *this;
}

// A fresh single-shot timer each time, set before answering: an answer that opens a
// nested dialog (a file dialog from "参照") is then answered from inside it.
void Modal_script::poll()
{
    QTimer::singleShot(5, &context_, [this] { poll(); });
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || answering_.count(modal) || !modal->isVisible())
        return;
    std::string what = modal->windowTitle().toStdString();
    if (const auto* box = qobject_cast<QMessageBox*>(modal)) {
        what += '|';
        what += box->text().toStdString();
    }
    seen.push_back(what);
    if (answers_.empty()) {
        unexpected.push_back(what);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        return;
    }
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    answering_.insert(modal);
    QPointer<QWidget> guard = modal;
    answer(modal);
    answering_.erase(guard.data() ? guard.data() : modal);
}

Modal_script::Answer press(QMessageBox::StandardButton button)
{
    return [button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr) << modal->windowTitle().toStdString();
        ASSERT_NE(box->button(button), nullptr);
        box->button(button)->click();
    };
}

Modal_script::Answer choose_file(const std::string& path)
{
    return [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->windowTitle().toStdString();
        dialog->selectFile(QString::fromStdString(path));
        static_cast<QDialog*>(dialog)->accept();
    };
}

Modal_script::Answer cancel_dialog()
{
    return [](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
    };
}

Modal_script::Answer screenshot_then(const std::string& name, Modal_script::Answer answer)
{
    return [name, answer](QWidget* modal) {
        save_screenshot(*modal, name);
        answer(modal);
    };
}

bool wait_until(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void save_screenshot(QWidget& widget, const std::string& name)
{
    QDir().mkpath(QStringLiteral(KESTRIX_SCREENSHOT_DIR));
    const QString path = QStringLiteral(KESTRIX_SCREENSHOT_DIR "/%1.png").arg(QString::fromStdString(name));
    EXPECT_TRUE(widget.grab().save(path)) << path.toStdString();
}

void Window_test::start(const std::vector<std::string>& arguments)
{
    window = std::make_unique<Kestrix>(doc());
    ASSERT_TRUE(window->start(arguments));
    ASSERT_NE(main_window(), nullptr);
}

QMainWindow* Window_test::main_window() const
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("KestrixMainWnd"))
            if (auto* main = qobject_cast<QMainWindow*>(widget))
                return main;
    return nullptr;
}

void Window_test::TearDown()
{
    window.reset();
    EXPECT_EQ(modals.pending(), 0u) << "answers left unused";
    EXPECT_TRUE(modals.unexpected.empty()) << "unexpected dialog: " << modals.unexpected.front();
    Document_test::TearDown();
}

void drop_files(QWidget* target, const std::vector<std::string>& paths, const std::function<void()>& meanwhile)
{
    QMimeData files;
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    files.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    // Queued after the opening, so that it runs inside the opening's first repaint.
    if (meanwhile)
        QTimer::singleShot(0, target, meanwhile);
    QApplication::processEvents();
}

std::vector<std::string> rows_of(QTreeWidget* list)
{
    std::vector<std::string> rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        std::string text;
        for (int column = 0; column < list->columnCount(); ++column) {
            if (column > 0)
                text += '|';
            text += list->topLevelItem(row)->text(column).toStdString();
        }
        rows.push_back(text);
    }
    return rows;
}

void answer_popup(std::vector<std::string>* seen, const QString& text)
{
    QTimer::singleShot(20, [seen, text] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            if (seen && !action->isSeparator())
                seen->push_back(action->text().toStdString() + (action->isEnabled() ? "" : "(off)"));
        for (QAction* action : menu->actions())
            if (action->text() == text) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        menu->close();
    });
}

void right_click(QTreeWidget* list, int row)
{
    list->setCurrentItem(list->topLevelItem(row));
    const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
}

void paste(QWidget* field, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString());
    QApplication::sendEvent(field, &press);
}
