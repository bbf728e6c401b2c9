#pragma once

#include "fw/controls.h"
#include "fw/exceptions.h"
#include "fw/timer.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <string>
#include <typeindex>
#include <vector>

class QKeyEvent;
class QCloseEvent;

namespace fw {

class MenuBar;
class HTTPSocket;

struct WindowProps {
    QString Title;
    int Width = 300, Height = 300;
    int MinWidth = 64, MinHeight = 64;
    int MaxWidth = 32000, MaxHeight = 32000;
    int Placement = 0;
    int Frame = 0;  // 0 document window, 1 movable modal dialog
    bool CloseButton = true;
    bool MinimizeButton = true;
    bool MaximizeButton = false;
    bool Resizeable = false;
    bool Visible = true;
    bool MenuBarVisible = true;
};

// A window of the program. One instance per class at a time, reached through
// implicitWindow<W>(); closing it releases it, and the next call makes a new
// one. Controls are added under a name and found by that name.
class Window : public QMainWindow {
    Q_OBJECT
public:
    Window();
    ~Window() override;

    // The framework's window constructor: Layout, CreateControls, the controls'
    // Open events, shown when Visible, then the window's Open event.
    void construct();

    virtual void Layout() = 0;
    virtual void CreateControls() = 0;
    virtual void Event_Open() { }
    virtual void Event_Close() { }

    void Show();
    // Shows the window modal and keeps the event loop running until it has
    // closed; returns at once if it is already closed.
    void ShowModal();
    // Raises Close, then releases the window. A window closed while a handler
    // is still on the stack is only deleted once control is back in the loop.
    void Close();
    bool isClosed() const { return closed_; }

    MenuBar* menuBarModel() const { return menuBar_; }
    void setMenuBarModel(MenuBar* bar);
    void applyProperties(const WindowProps& props);
    const WindowProps& properties() const { return props_; }

    // Control lookup by name; control<T> is the checked form.
    QObject* _ControlByName(const QString& name) const;
    template <class T>
    T* control(const QString& name) const
    {
        QObject* o = _ControlByName(name);
        if (!o)
            throw NilObjectException("no control named " + name.toStdString());
        T* t = dynamic_cast<T*>(o);
        if (!t)
            throw IllegalCastException("control " + name.toStdString() + " is of another class");
        return t;
    }
    const std::vector<QObject*>& controlsInOrder() const { return order_; }

    // Control creation. Each makes the control, adds it under its name, sets
    // its text size (0: none), applies the list, and binds the handler last.
    GroupBox* addGroupBox(const QString& name, double textSize, const GroupBoxProps& props);
    RadioButton* addRadioButton(const QString& name, double textSize, const RadioButtonProps& props,
                                std::function<void()> action = {});
    PushButton* addPushButton(const QString& name, double textSize, const PushButtonProps& props,
                              std::function<void()> action = {});
    TextField* addTextField(const QString& name, double textSize, const TextFieldProps& props,
                            std::function<void()> textChange = {});
    Label* addLabel(const QString& name, double textSize, const LabelProps& props, std::function<void()> open = {});
    Separator* addSeparator(const QString& name, const SeparatorProps& props);
    ListBox* addListBox(const QString& name, double textSize, const ListBoxProps& props);
    ProgressBar* addProgressBar(const QString& name, const ProgressBarProps& props);
    Timer* addTimer(const QString& name, int mode, int period, std::function<void()> action = {});
    // Adds a non-visual control made by the caller (a socket), owned by the window.
    void addObject(const QString& name, QObject* object);

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void _AddControl(const QString& name, QObject* control);
    template <class C>
    C* makeControl(const QString& name, double textSize);
    void finishClose();
    PushButton* buttonWhere(bool (PushButton::*flag)() const) const;

    QWidget* content_ = nullptr;
    MenuBar* menuBar_ = nullptr;
    WindowProps props_;
    QHash<QString, QObject*> byName_;
    std::vector<QObject*> order_;
    bool closing_ = false;
    bool closed_ = false;
};

// The registry of open windows, one per class.
Window* openWindowOf(std::type_index type);
void registerWindow(std::type_index type, Window* window);
void unregisterWindow(Window* window);
// Open windows, oldest first.
std::vector<Window*> openWindows();
// Closes every open window, newest first, each raising its Close event.
void closeAllWindows();
// Deletes every window without raising events: the shutdown release.
void releaseAllWindows();

// The open instance of W, without making one ("close it if still open").
template <class W>
W* openWindow()
{
    return static_cast<W*>(openWindowOf(std::type_index(typeid(W))));
}

// The accessor behind Window1(), AboutBox() and the others: the open instance
// of W, or a new one when none is open.
template <class W>
W* implicitWindow()
{
    if (W* w = openWindow<W>())
        return w;
    auto* w = new W();
    registerWindow(std::type_index(typeid(W)), w);
    w->construct();
    return w;
}

} // namespace fw
