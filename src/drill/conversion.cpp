#include "drill/conversion.h"

#include "drill/roman_table.h"

namespace drill {

void Conversion::Layout()
{
    applyProperties({.Title = QStringLiteral("Conversion"),
                     .Width = 176,
                     .Height = 300,
                     .Frame = 0,
                     .CloseButton = true,
                     .MinimizeButton = true,
                     .MaximizeButton = false,
                     .Resizeable = false,
                     .Visible = false});
}

void Conversion::CreateControls()
{
    _CreateControls0();
}

void Conversion::_CreateControls0()
{
    addListBox(QStringLiteral("ListBox1"), 0,
               {.Left = 17, .Top = 14, .Width = 139, .Height = 266, .ColumnCount = 2, .HasHeading = false,
                .InitialValue = conversionInitialValue(), .TabIndex = 0});
}

} // namespace drill

drill::Conversion* Conversion()
{
    return fw::implicitWindow<drill::Conversion>();
}
