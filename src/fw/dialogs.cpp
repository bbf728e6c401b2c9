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
#include <QVBoxLayout>

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

QLabel* plainLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(parent);
    // The texts may come from a file fetched over the network: never markup.
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
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
    auto* outer = new QHBoxLayout(&dialog);
    if (Icon >= 0) {
        auto* icon = new QLabel(&dialog);
        icon->setPixmap(dialog.style()->standardIcon(iconPixmap(Icon)).pixmap(48, 48));
        icon->setAlignment(Qt::AlignTop);
        outer->addWidget(icon);
    }
    auto* column = new QVBoxLayout;
    outer->addLayout(column);
    QLabel* message = plainLabel(Message, &dialog);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    // Wide enough that a two-sentence message does not wrap into a tall column.
    message->setMinimumWidth(380);
    column->addWidget(message);
    if (!Explanation.isEmpty())
        column->addWidget(plainLabel(Explanation, &dialog));
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
    // Escape and the close box answer as the cancel button does.
    dialog.exec();
    return pressed;
}

} // namespace fw
