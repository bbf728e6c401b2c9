#include "fw/window.h"

#include "fw/dispatch.h"
#include "fw/http_socket.h"
#include "fw/menu.h"
#include "fw/testing.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>

#include <algorithm>

namespace fw {

namespace {

struct OpenWindow {
    std::type_index type;
    Window* window;
};

std::vector<OpenWindow>& registry()
{
    static std::vector<OpenWindow> r;
    return r;
}

} // namespace

Window* openWindowOf(std::type_index type)
{
    for (const OpenWindow& w : registry())
        if (w.type == type)
            return w.window;
    return nullptr;
}

void registerWindow(std::type_index type, Window* window)
{
    registry().push_back({type, window});
}

void unregisterWindow(Window* window)
{
    auto& r = registry();
    r.erase(std::remove_if(r.begin(), r.end(), [window](const OpenWindow& w) { return w.window == window; }), r.end());
}

std::vector<Window*> openWindows()
{
    std::vector<Window*> out;
    for (const OpenWindow& w : registry())
        out.push_back(w.window);
    return out;
}

void closeAllWindows()
{
    std::vector<QPointer<Window>> windows;
    for (Window* w : openWindows())
        windows.emplace_back(w);
    std::reverse(windows.begin(), windows.end());
    for (const QPointer<Window>& w : windows)
        if (w)
            w->Close();
}

void releaseAllWindows()
{
    std::vector<QPointer<Window>> windows;
    for (Window* w : openWindows())
        windows.emplace_back(w);
    registry().clear();
    for (const QPointer<Window>& w : windows)
        delete w.data();
    // Windows closed earlier wait for deferred deletion; do it while Qt still stands.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Window::Window()
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    content_ = new QWidget(this);
    content_->setObjectName(QStringLiteral("content"));
    setCentralWidget(content_);
}

Window::~Window()
{
    unregisterWindow(this);
}

void Window::construct()
{
    Layout();
    CreateControls();
    for (QObject* o : order_)
        if (auto* label = dynamic_cast<Label*>(o); label && label->openHandler())
            dispatch(label->openHandler());
    if (props_.Visible)
        Show();
    testing::trace(QStringLiteral("window opened: ") + windowTitle());
    dispatch([this]() { Event_Open(); });
}

void Window::setMenuBarModel(MenuBar* bar)
{
    menuBar_ = bar;
    if (bar)
        setMenuBar(bar->createQMenuBar(this));
}

void Window::applyProperties(const WindowProps& p)
{
    props_ = p;
    setWindowTitle(p.Title);
    Qt::WindowFlags flags = (p.Frame == 1 ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (p.CloseButton)
        flags |= Qt::WindowCloseButtonHint;
    if (p.MinimizeButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (p.MaximizeButton)
        flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    // A movable modal dialog is modal from its first showing; made modal only
    // later, it would have to be hidden and shown again, and would flicker.
    if (p.Frame == 1)
        setWindowModality(Qt::ApplicationModal);
    content_->setFixedSize(p.Width, p.Height);
    if (!p.Resizeable) {
        // The whole window (menu bar included) keeps the size of its content.
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    } else {
        content_->setMinimumSize(p.MinWidth, p.MinHeight);
        content_->setMaximumSize(p.MaxWidth, p.MaxHeight);
    }
    if (menuBar_ && !p.MenuBarVisible)
        menuBar()->hide();
}

void Window::Show()
{
    if (closed_)
        return;
    // A window the learner minimised comes back as it was.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void Window::ShowModal()
{
    if (closed_)
        return;
    if (windowModality() != Qt::ApplicationModal) {
        // A window that Visible already showed would stay modeless: Qt takes
        // a change of modality only when the window is shown anew.
        if (isVisible())
            hide();
        setWindowModality(Qt::ApplicationModal);
    }
    Show();
    QEventLoop loop;
    connect(this, &Window::closed, &loop, &QEventLoop::quit);
    if (!closed_)
        loop.exec();
}

void Window::Close()
{
    if (closing_ || closed_)
        return;
    closing_ = true;
    dispatch([this]() { Event_Close(); });
    finishClose();
}

void Window::closeEvent(QCloseEvent* event)
{
    event->accept();
    Close();
}

void Window::finishClose()
{
    closed_ = true;
    unregisterWindow(this);
    // Nothing of the window may run after it closed: its timers stop, its
    // controls' events no longer reach its handlers, a fetch under way is abandoned.
    for (QObject* o : order_) {
        if (auto* t = dynamic_cast<Timer*>(o))
            t->setMode(0);
        if (auto* socket = dynamic_cast<HTTPSocket*>(o))
            socket->Abort();
        QObject::disconnect(o, nullptr, this, nullptr);
    }
    hide();
    emit closed();
    deleteLater();
}

QObject* Window::_ControlByName(const QString& name) const
{
    return byName_.value(name, nullptr);
}

void Window::_AddControl(const QString& name, QObject* control)
{
    control->setObjectName(name);
    byName_.insert(name, control);
    order_.push_back(control);
}

template <class C>
C* Window::makeControl(const QString& name, double textSize)
{
    auto* c = new C(content_);
    _AddControl(name, c);
    if (textSize > 0)
        c->setProperty("fwTextSize", textSize);
    return c;
}

GroupBox* Window::addGroupBox(const QString& name, double textSize, const GroupBoxProps& props)
{
    auto* c = makeControl<GroupBox>(name, textSize);
    c->apply(props);
    return c;
}

RadioButton* Window::addRadioButton(const QString& name, double textSize, const RadioButtonProps& props,
                                    std::function<void()> action)
{
    auto* c = makeControl<RadioButton>(name, textSize);
    if (!props.InitialParent.isEmpty()) {
        // Joins its group box's group: the box becomes its parent.
        auto* box = control<GroupBox>(props.InitialParent);
        c->place(box, QPoint(box->Left(), box->Top()), props.Left, props.Top, props.Width, props.Height);
    }
    c->apply(props);
    if (action)
        c->setAction(std::move(action));
    return c;
}

PushButton* Window::addPushButton(const QString& name, double textSize, const PushButtonProps& props,
                                  std::function<void()> action)
{
    auto* c = makeControl<PushButton>(name, textSize);
    c->apply(props);
    if (action)
        c->setAction(std::move(action));
    return c;
}

TextField* Window::addTextField(const QString& name, double textSize, const TextFieldProps& props,
                                std::function<void()> textChange)
{
    auto* c = makeControl<TextField>(name, textSize);
    c->apply(props);
    if (textChange)
        c->setTextChangeHandler(std::move(textChange));
    return c;
}

Label* Window::addLabel(const QString& name, double textSize, const LabelProps& props, std::function<void()> open)
{
    auto* c = makeControl<Label>(name, textSize);
    c->apply(props);
    if (open)
        c->setOpenHandler(std::move(open));
    return c;
}

Separator* Window::addSeparator(const QString& name, const SeparatorProps& props)
{
    auto* c = makeControl<Separator>(name, 0);
    c->apply(props);
    return c;
}

ListBox* Window::addListBox(const QString& name, double textSize, const ListBoxProps& props)
{
    auto* c = makeControl<ListBox>(name, textSize);
    c->apply(props);
    return c;
}

ProgressBar* Window::addProgressBar(const QString& name, const ProgressBarProps& props)
{
    auto* c = makeControl<ProgressBar>(name, 0);
    c->apply(props);
    return c;
}

Timer* Window::addTimer(const QString& name, int mode, int period, std::function<void()> action)
{
    auto* t = new Timer(this);
    _AddControl(name, t);
    t->setPeriod(period);
    t->setMode(mode);
    if (action)
        t->setAction(std::move(action));
    return t;
}

void Window::addObject(const QString& name, QObject* object)
{
    object->setParent(this);
    _AddControl(name, object);
}

PushButton* Window::buttonWhere(bool (PushButton::*flag)() const) const
{
    for (QObject* o : order_)
        if (auto* b = dynamic_cast<PushButton*>(o); b && (b->*flag)() && b->isEnabled() && b->isVisible())
            return b;
    return nullptr;
}

void Window::keyPressEvent(QKeyEvent* event)
{
    // Return (and the keypad's Enter, which users expect to do the same) press
    // the default button, Escape the cancel button, as dialogs do; Qt does this
    // only inside dialogs, so every window of ours does it here.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    PushButton* target = nullptr;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        target = buttonWhere(&PushButton::Default);
    else if (plain && event->key() == Qt::Key_Escape)
        target = buttonWhere(&PushButton::Cancel);
    if (target) {
        event->accept();
        target->Push();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace fw
