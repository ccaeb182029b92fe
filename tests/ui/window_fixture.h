#pragma once

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTreeWidget>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/document_fixture.h"
#include "ui/kestrix.h"

// Answers the modal dialogs of a test as they open, one answer each, in order. A
// dialog nobody expected is recorded and closed, so that a wrong turn fails the test
// instead of hanging it.
class Modal_script {
public:
    using Answer = std::function<void(QWidget* modal)>;

    Modal_script();
    ~Modal_script();
    Modal_script(const Modal_script&) = delete;
    Modal_script& operator=(const Modal_script&) = delete;

    Modal_script& then(Answer answer);
    [[nodiscard]] std::size_t pending() const { return answers_.size(); }

    // Every modal dialog seen: "caption|text" for message boxes, the title otherwise.
    std::vector<std::string> seen;
    std::vector<std::string> unexpected;

private:
    void poll();

    QObject context_;
    std::deque<Answer> answers_;
    std::set<QWidget*> answering_;
};

// Answers for Modal_script.
Modal_script::Answer press(QMessageBox::StandardButton button);
Modal_script::Answer choose_file(const std::string& path);
Modal_script::Answer cancel_dialog();
// Saves a picture of the dialog to the screenshot folder, then runs `answer`.
Modal_script::Answer screenshot_then(const std::string& name, Modal_script::Answer answer);

// Processes events until `done` holds or `ms` milliseconds have passed.
bool wait_until(const std::function<bool()>& done, int ms = 5000);

// Drops `paths` on `target` as the window system does (enter, then drop), then lets
// the window open them, which it does after the drop. `meanwhile` runs when the
// opening first lets the window repaint (a file large enough to show progress).
void drop_files(QWidget* target, const std::vector<std::string>& paths, const std::function<void()>& meanwhile = {});

// Writes a picture of `widget` to build/screenshots/<name>.png.
void save_screenshot(QWidget& widget, const std::string& name);

// The control `id` of a dialog (failing the test when it has none).
template <typename Widget>
Widget* field(QWidget* dialog, int id)
{
    auto* widget = dialog->findChild<Widget*>(QStringLiteral("id_%1").arg(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
}

// The rows of a list view, each as its cells joined by "|".
std::vector<std::string> rows_of(QTreeWidget* list);
// Chooses `text` in the next popup menu and records its items with their enabled
// states ("(off)" after a disabled one); an empty text closes the menu.
void answer_popup(std::vector<std::string>* seen, const QString& text);
// A right click on row `row` of a list view, which selects it first.
void right_click(QTreeWidget* list, int row);
// Puts `text` on the clipboard and presses Ctrl+V in `field`.
void paste(QWidget* field, const QString& text);

// A started main window on a fresh document.
class Window_test : public Document_test {
protected:
    void TearDown() override;

    void start(const std::vector<std::string>& arguments = {});
    [[nodiscard]] QMainWindow* main_window() const;
    template <typename Widget>
    [[nodiscard]] Widget* control(int id) const
    {
        return main_window()->findChild<Widget*>(QStringLiteral("id_%1").arg(id));
    }
    [[nodiscard]] std::string title() const { return window->title(); }
    // The note a field left in the status bar (drawn where the progress bar is).
    [[nodiscard]] std::string status_note() const
    {
        return control<QWidget>(100)->property("note").toString().toStdString();
    }

    static std::string example(const std::string& name) { return std::string(KESTRIX_SOURCE_DIR) + "/examples/" + name; }

    std::unique_ptr<Kestrix> window;
    Modal_script modals;
};
