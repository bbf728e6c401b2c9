#include "fw/dialogs.h"

#include "fw/testing.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace fw {

void MsgBox(const QString& text)
{
    if (testing::dialogsScripted()) {
        testing::RecordedDialog d;
        d.kind = QStringLiteral("MsgBox");
        d.message = text;
        testing::recordDialog(d);
        testing::runOnModal();
        return;
    }
    QMessageBox box(QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void Beep()
{
    testing::recordBeep();
    QApplication::beep();
}

void ShowURL(const QString& url)
{
    testing::recordUrl(url);
    if (!testing::urlOpeningSuppressed())
        QDesktopServices::openUrl(QUrl(url));
}

MessageDialog::MessageDialog()
{
    ActionButton.Caption = QStringLiteral("OK");
    ActionButton.Visible = true;
    AlternateActionButton.Caption = QStringLiteral("Don't Save");
    CancelButton.Caption = QStringLiteral("Cancel");
}

namespace {

QStyle::StandardPixmap iconPixmap(int icon)
{
    switch (icon) {
    case 1: return QStyle::SP_MessageBoxWarning;
    case 2: return QStyle::SP_MessageBoxCritical;
    case 3: return QStyle::SP_MessageBoxQuestion;
    default: return QStyle::SP_MessageBoxInformation;
    }
}

// A read-only text that looks like a label but never outgrows its room: the
// texts may come from a file fetched over the network, so they are shown as
// plain text (never markup), wrapped at word boundaries or, for a word wider
// than the room, anywhere, and scrolled once taller than maxHeight.
QTextEdit* boundedText(const QString& text, const QFont& font, int width, int maxHeight, QWidget* parent)
{
    auto* t = new QTextEdit(parent);
    t->setReadOnly(true);
    t->setAcceptRichText(false);
    t->setPlainText(text);
    t->setFrameShape(QFrame::NoFrame);
    t->viewport()->setAutoFillBackground(false);
    t->setTextInteractionFlags(Qt::TextSelectableByMouse);
    t->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    t->setLineWrapMode(QTextEdit::WidgetWidth);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    t->setFont(font);
    t->document()->setDocumentMargin(0);
    // The edit lays its text out only at its final size; measure the same
    // text, font and wrapping on a document of our own.
    QTextDocument measure;
    measure.setDefaultFont(font);
    QTextOption wrapping = measure.defaultTextOption();
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    measure.setDefaultTextOption(wrapping);
    measure.setDocumentMargin(0);
    measure.setPlainText(text);
    measure.setTextWidth(width);
    const int wanted = int(std::ceil(measure.size().height()));
    t->setFixedSize(width, std::min(wanted, maxHeight));
    return t;
}

// The explanation under the message: a little smaller, still easy to read.
QFont explanationFont(QFont font)
{
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(font.pixelSize() - 2, 9));
    else
        font.setPointSizeF(std::max(font.pointSizeF() - 1.5, 7.0));
    return font;
}

} // namespace

MessageDialogButton* MessageDialog::ShowModal()
{
    if (testing::dialogsScripted()) {
        testing::RecordedDialog d;
        d.kind = QStringLiteral("MessageDialog");
        d.title = Title;
        d.message = Message;
        d.explanation = Explanation;
        d.icon = Icon;
        d.actionCaption = ActionButton.Caption;
        d.alternateCaption = AlternateActionButton.Caption;
        d.cancelCaption = CancelButton.Caption;
        d.alternateVisible = AlternateActionButton.Visible;
        d.cancelVisible = CancelButton.Visible;
        testing::recordDialog(d);
        testing::runOnModal();
        switch (testing::takeDialogAnswer()) {
        case testing::DialogAnswer::Action: return &ActionButton;
        case testing::DialogAnswer::Alternate: return &AlternateActionButton;
        case testing::DialogAnswer::Cancel: break;
        }
        return &CancelButton;
    }

    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(Title);
    // Whatever the texts hold, the dialog and its buttons stay on the screen:
    // the message and the explanation get a bounded share of its height each.
    const QScreen* screen = dialog.parentWidget() ? dialog.parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    constexpr int iconSize = 48;
    // Wide enough that a two-sentence message does not wrap into a tall column.
    const int textWidth = std::clamp(room.width() - iconSize - 120, 120, 400);

    auto* outer = new QHBoxLayout(&dialog);
    if (Icon >= 0) {
        auto* icon = new QLabel(&dialog);
        icon->setPixmap(dialog.style()->standardIcon(iconPixmap(Icon)).pixmap(iconSize, iconSize));
        icon->setAlignment(Qt::AlignTop);
        outer->addWidget(icon, 0, Qt::AlignTop);
    }
    auto* column = new QVBoxLayout;
    outer->addLayout(column);
    QFont messageFont = dialog.font();
    messageFont.setBold(true);
    column->addWidget(boundedText(Message, messageFont, textWidth, room.height() / 4, &dialog));
    if (!Explanation.isEmpty())
        column->addWidget(
            boundedText(Explanation, explanationFont(dialog.font()), textWidth, room.height() / 3, &dialog));
    auto* buttons = new QHBoxLayout;
    column->addLayout(buttons);

    MessageDialogButton* pressed = &CancelButton;
    auto addButton = [&](MessageDialogButton& b, bool isDefault) {
        if (!b.Visible)
            return;
        auto* pb = new QPushButton(b.Caption, &dialog);
        pb->setDefault(isDefault);
        pb->setAutoDefault(isDefault);
        QObject::connect(pb, &QPushButton::clicked, &dialog, [&dialog, &pressed, &b]() {
            pressed = &b;
            dialog.accept();
        });
        buttons->addWidget(pb);
    };
    addButton(AlternateActionButton, false);
    buttons->addStretch();
    addButton(CancelButton, false);
    addButton(ActionButton, true);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    // Return answers with the action button even after a click in the texts.
    for (auto* text : dialog.findChildren<QTextEdit*>())
        text->setFocusPolicy(Qt::NoFocus);
    // Escape and the close box answer as the cancel button does.
    dialog.exec();
    return pressed;
}

} // namespace fw
