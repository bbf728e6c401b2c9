#pragma once

#include "fw/menu.h"

#include <memory>

namespace app {

// The one menu bar, shared by the application object and the main window.
class MenuBar1 : public fw::MenuBar {
public:
    MenuBar1();

    // Holds the single instance from its first use until shutdown.
    static std::unique_ptr<MenuBar1> _implicitInstance;

private:
    void Untitled0();
    void Untitled1();
    void Untitled2();
    void Untitled3();
    void Untitled4();

    void appendMenu(std::unique_ptr<fw::MenuItem> menu, const QString& name, const QString& text);
    void appendItem(const QString& menuName, std::unique_ptr<fw::MenuItem> item, const QString& name,
                    const QString& text, const QString* shortcut);
};

} // namespace app

app::MenuBar1* MenuBar1();
