#include "fw/menu.h"

#include "fw/application.h"
#include "fw/dispatch.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace fw {

MenuItem::MenuItem() : kind_(Kind::Normal) { }
MenuItem::MenuItem(Kind kind) : kind_(kind) { }

MenuItem::~MenuItem()
{
    // Qt owns the rendered menus (through their windows); drop our side only.
    for (const QPointer<QAction>& a : actions_)
        if (a)
            QObject::disconnect(a, nullptr, nullptr, nullptr);
}

void MenuItem::setText(const QString& text)
{
    text_ = text;
    syncActions();
}

void MenuItem::setKeyboardShortcut(const QString& shortcut)
{
    shortcut_ = shortcut;
    syncActions();
}

void MenuItem::setChecked(bool checked)
{
    checked_ = checked;
    // An item shows a check box only once the program has given it a check mark.
    checkable_ = true;
    syncActions();
}

void MenuItem::setEnabled(bool enabled)
{
    enabled_ = enabled;
    syncActions();
}

void MenuItem::Append(std::unique_ptr<MenuItem> item)
{
    children_.push_back(std::move(item));
}

MenuItem* MenuItem::Item(int index) const
{
    if (index < 0 || index >= int(children_.size()))
        return nullptr;
    return children_[size_t(index)].get();
}

MenuItem* MenuItem::Child(const QString& name) const
{
    for (const auto& c : children_)
        if (c->name_ == name)
            return c.get();
    return nullptr;
}

MenuItem* MenuItem::Lookup(const QString& name) const
{
    for (const auto& c : children_) {
        if (c->name_ == name)
            return c.get();
        if (MenuItem* found = c->Lookup(name))
            return found;
    }
    return nullptr;
}

QString shortcutToPortable(const QString& shortcut)
{
    QString s = shortcut;
    s.replace(QLatin1String("Cmd+"), QLatin1String("Ctrl+"), Qt::CaseInsensitive);
    return s;
}

void MenuItem::syncAction(QAction* action) const
{
    action->setText(text_);
    action->setShortcut(QKeySequence(shortcutToPortable(shortcut_)));
    action->setCheckable(checkable_);
    action->setChecked(checked_);
    action->setEnabled(enabled_);
}

void MenuItem::syncActions()
{
    for (const QPointer<QAction>& a : actions_)
        if (a)
            syncAction(a);
    for (const QPointer<QMenu>& m : menus_)
        if (m) {
            m->setTitle(text_);
            m->setEnabled(enabled_);
        }
}

void MenuItem::addItemTo(QMenu* menu)
{
    if (isSeparator()) {
        QAction* sep = menu->addSeparator();
        sep->setObjectName(name_);
        actions_.append(sep);
        return;
    }
    if (!children_.empty()) {
        QMenu* sub = menu->addMenu(text_);
        sub->setObjectName(name_);
        menus_.append(sub);
        for (const auto& c : children_)
            c->addItemTo(sub);
        return;
    }
    auto* action = new QAction(menu);
    action->setObjectName(name_);
    // Shortcuts work whichever of the program's windows is active.
    action->setShortcutContext(Qt::ApplicationShortcut);
    syncAction(action);
    QObject::connect(action, &QAction::triggered, action, [this, action = QPointer<QAction>(action)]() {
        menuItemChosen(this);
        // A checkable action toggles itself; the model decides. The handler
        // may have taken the action's menu bar away with its window.
        if (action)
            syncAction(action);
    });
    menu->addAction(action);
    actions_.append(action);
}

void MenuItem::addMenuTo(QMenuBar* bar)
{
    QMenu* menu = bar->addMenu(text_);
    menu->setObjectName(name_);
    menus_.append(menu);
    for (const auto& c : children_)
        c->addItemTo(menu);
}

QMenuBar* MenuBar::createQMenuBar(QWidget* parent)
{
    auto* bar = new QMenuBar(parent);
    // Narrow windows still show every menu rather than hiding some behind ">>".
    bar->setStyleSheet(QStringLiteral("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px 5px; background: transparent; } QMenuBar::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));
    for (const auto& c : children_)
        c->addMenuTo(bar);
    return bar;
}

namespace {

bool runEditCommand(const QString& name)
{
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (name == QLatin1String("EditUndo")) {
        if (edit) edit->undo();
    } else if (name == QLatin1String("EditCut")) {
        if (edit) edit->cut();
    } else if (name == QLatin1String("EditCopy")) {
        if (edit) edit->copy();
    } else if (name == QLatin1String("EditPaste")) {
        if (edit) edit->paste();
    } else if (name == QLatin1String("EditClear")) {
        if (edit) edit->del();
    } else if (name == QLatin1String("EditSelectAll")) {
        if (edit) edit->selectAll();
    } else {
        return false;
    }
    return true;
}

} // namespace

void menuItemChosen(MenuItem* item)
{
    if (!item)
        return;
    const QString name = item->Name();
    if (Application* app = GetAppObject(); app && app->hasMenuHandler(name)) {
        app->runMenuHandler(name);
        return;
    }
    if (item->kind() == MenuItem::Kind::Quit) {
        Application::quitItemChosen();
        return;
    }
    runEditCommand(name);
}

} // namespace fw
