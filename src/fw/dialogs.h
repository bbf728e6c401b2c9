#pragma once

#include <QString>

namespace fw {

// A modal message box with one button; the text is always plain text, never
// markup, whatever it holds. Returns when the user has dismissed it.
void MsgBox(const QString& text);

// The system beep.
void Beep();

// Opens an address (mailto: too) in the user's browser or mail program.
void ShowURL(const QString& url);

class MessageDialogButton {
public:
    QString Caption;
    bool Visible = false;
};

// A modal dialog with a title, a message, a smaller explanation, an icon and up
// to three buttons. Icon: -1 none, 0 note, 1 caution, 2 stop, 3 question.
class MessageDialog {
public:
    MessageDialog();

    QString Title;
    QString Message;
    QString Explanation;
    int Icon = 0;
    MessageDialogButton ActionButton;
    MessageDialogButton AlternateActionButton;
    MessageDialogButton CancelButton;

    // Shows the dialog and returns the button pressed (one of the three members).
    MessageDialogButton* ShowModal();
};

} // namespace fw
