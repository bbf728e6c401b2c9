#pragma once

#include <QList>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace fw {

// The menu model. Items are found by Name at any depth; one model may be shown
// as the Qt menu bar of several windows at once, and a change of Checked or Text
// shows in all of them.
class MenuItem {
public:
    enum class Kind { Normal, Quit, ApplicationMenu };

    MenuItem();
    virtual ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    Kind kind() const { return kind_; }

    QString Name() const { return name_; }
    void setName(const QString& name) { name_ = name; }
    QString Text() const { return text_; }
    void setText(const QString& text);
    // "Cmd+Q" style; Cmd stands for the platform's command key, Ctrl here.
    QString KeyboardShortcut() const { return shortcut_; }
    void setKeyboardShortcut(const QString& shortcut);
    bool AutoEnable() const { return autoEnable_; }
    void setAutoEnable(bool autoEnable) { autoEnable_ = autoEnable; }
    bool Checked() const { return checked_; }
    void setChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    void Append(std::unique_ptr<MenuItem> item);
    int Count() const { return int(children_.size()); }
    MenuItem* Item(int index) const;
    // A direct child by name, or nullptr.
    MenuItem* Child(const QString& name) const;
    // Any entry below this one by name, depth first, or nullptr.
    MenuItem* Lookup(const QString& name) const;

    bool isSeparator() const { return text_ == QLatin1String("-"); }

protected:
    explicit MenuItem(Kind kind);

private:
    friend class MenuBar;
    void addMenuTo(QMenuBar* bar);
    void addItemTo(QMenu* menu);
    void syncAction(QAction* action) const;
    void syncActions();

    Kind kind_;
    QString name_;
    QString text_;
    QString shortcut_;
    bool autoEnable_ = false;
    bool checked_ = false;
    bool checkable_ = false;
    bool enabled_ = true;
    std::vector<std::unique_ptr<MenuItem>> children_;
    QList<QPointer<QAction>> actions_;
    QList<QPointer<QMenu>> menus_;
};

// Quits the application when chosen; the program binds no handler to it.
class QuitMenuItem : public MenuItem {
public:
    QuitMenuItem() : MenuItem(Kind::Quit) { }
};

// Belongs in the application's own menu where the platform has one; here it
// stays where it was appended.
class AppleMenuItem : public MenuItem {
public:
    AppleMenuItem() : MenuItem(Kind::ApplicationMenu) { }
};

class MenuBar : public MenuItem {
public:
    MenuBar() = default;
    // A Qt menu bar showing this model, for a window.
    QMenuBar* createQMenuBar(QWidget* parent);
};

// What choosing an item does: the handler the application bound to its name,
// else the item's own kind (Quit), else the standard Edit commands on the
// focused text field.
void menuItemChosen(MenuItem* item);

QString shortcutToPortable(const QString& shortcut);

} // namespace fw
