#pragma once

#include "fw/window.h"

namespace drill {

// The hidden holder of the numeral table: row n of ListBox1 holds n and its
// Roman numeral (row 0 the headings). Made on the first lookup, never shown.
class Conversion : public fw::Window {
    Q_OBJECT
public:
    void Layout() override;
    void CreateControls() override;
    fw::ListBox* ListBox1() const { return control<fw::ListBox>(QStringLiteral("ListBox1")); }

private:
    void _CreateControls0();
};

} // namespace drill

drill::Conversion* Conversion();
