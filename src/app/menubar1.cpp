#include "app/menubar1.h"

#include "fw/exceptions.h"

namespace app {

std::unique_ptr<MenuBar1> MenuBar1::_implicitInstance;

MenuBar1::MenuBar1()
{
    Untitled0();
    Untitled1();
    Untitled2();
    Untitled3();
    Untitled4();
}

void MenuBar1::appendMenu(std::unique_ptr<fw::MenuItem> menu, const QString& name, const QString& text)
{
    menu->setName(name);
    menu->setAutoEnable(true);
    menu->setText(text);
    menu->setKeyboardShortcut(QString());
    Append(std::move(menu));
}

// shortcut == nullptr: the entry gets none set at all (the separators).
void MenuBar1::appendItem(const QString& menuName, std::unique_ptr<fw::MenuItem> item, const QString& name,
                          const QString& text, const QString* shortcut)
{
    item->setName(name);
    item->setAutoEnable(true);
    item->setText(text);
    if (shortcut)
        item->setKeyboardShortcut(*shortcut);
    fw::MenuItem* menu = Child(menuName);
    if (!menu)
        throw fw::NilObjectException("no menu named " + menuName.toStdString());
    menu->Append(std::move(item));
}

namespace {
const QString kNone;
const QString kCmdQ = QStringLiteral("Cmd+Q");
const QString kCmdZ = QStringLiteral("Cmd+Z");
const QString kCmdX = QStringLiteral("Cmd+X");
const QString kCmdC = QStringLiteral("Cmd+C");
const QString kCmdV = QStringLiteral("Cmd+V");
const QString kCmdA = QStringLiteral("Cmd+A");
} // namespace

void MenuBar1::Untitled0()
{
    appendMenu(std::make_unique<fw::MenuItem>(), QStringLiteral("FileMenu"), QStringLiteral("&File"));
    appendItem(QStringLiteral("FileMenu"), std::make_unique<fw::QuitMenuItem>(), QStringLiteral("FileQuit"),
               QStringLiteral("Quit"), &kCmdQ);
}

void MenuBar1::Untitled1()
{
    const QString menu = QStringLiteral("EditMenu");
    appendMenu(std::make_unique<fw::MenuItem>(), menu, QStringLiteral("&Edit"));
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("EditUndo"), QStringLiteral("&Undo"), &kCmdZ);
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("UntitledMenu1"), QStringLiteral("-"), nullptr);
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("EditCut"), QStringLiteral("Cu&t"), &kCmdX);
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("EditCopy"), QStringLiteral("&Copy"), &kCmdC);
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("EditPaste"), QStringLiteral("&Paste"), &kCmdV);
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("EditClear"), QStringLiteral("Clear"), &kNone);
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("UntitledMenu0"), QStringLiteral("-"), nullptr);
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("EditSelectAll"), QStringLiteral("Select &All"),
               &kCmdA);
}

void MenuBar1::Untitled2()
{
    const QString menu = QStringLiteral("RomanNumberInfoMenu");
    appendMenu(std::make_unique<fw::MenuItem>(), menu, QStringLiteral("Roman Numerals Reference"));
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("RomanNumberInfoShowWebSite"),
               QStringLiteral("Show Web Site"), &kNone);
}

void MenuBar1::Untitled3()
{
    const QString menu = QStringLiteral("CheckForUpdateMenu");
    appendMenu(std::make_unique<fw::AppleMenuItem>(), menu, QStringLiteral("Check For Update"));
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("CheckForUpdateCheckNow"),
               QStringLiteral("Check Now"), &kNone);
}

void MenuBar1::Untitled4()
{
    const QString menu = QStringLiteral("SoundMenu");
    appendMenu(std::make_unique<fw::MenuItem>(), menu, QStringLiteral("Sound"));
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("SoundOn"), QStringLiteral("On"), &kNone);
    appendItem(menu, std::make_unique<fw::MenuItem>(), QStringLiteral("SoundOff"), QStringLiteral("Off"), &kNone);
    appendItem(menu, std::make_unique<fw::AppleMenuItem>(), QStringLiteral("SoundAbout"), QStringLiteral("About..."),
               &kNone);
}

} // namespace app

app::MenuBar1* MenuBar1()
{
    if (!app::MenuBar1::_implicitInstance)
        app::MenuBar1::_implicitInstance = std::make_unique<app::MenuBar1>();
    return app::MenuBar1::_implicitInstance.get();
}
