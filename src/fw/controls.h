#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <functional>
#include <vector>

// The controls a window is built from. Positions are pixels relative to the
// window's content area, also for a control inside a group box, and sizes are
// fixed: the layouts were drawn where a point is a pixel. Each control takes a
// property list (a struct, filled with designated initializers) once, right
// after it was made, and its handler only after that, so applying the initial
// list never runs a handler.
namespace fw {

// Font of a control: the family names of the layouts mapped to the free fonts
// installed with the program; a size of 0 keeps the default size.
QFont controlFont(const QString& family, double pixelSize, bool bold);
inline constexpr int kDefaultTextPixelSize = 13;

// What every visual control has: Left, Visible and Enabled settable at run time.
template <class QtBase>
class Control : public QtBase {
public:
    using QtBase::QtBase;

    int Left() const { return this->x() + origin_.x(); }
    void setLeft(int left) { this->move(left - origin_.x(), this->y()); }
    int Top() const { return this->y() + origin_.y(); }
    bool Visible() const { return !this->isHidden(); }

    // Places the control given window-relative coordinates, under parent.
    void place(QWidget* parent, QPoint parentOrigin, int left, int top, int width, int height)
    {
        if (this->parentWidget() != parent)
            this->setParent(parent);
        origin_ = parentOrigin;
        this->setGeometry(left - origin_.x(), top - origin_.y(), width, height);
    }
    QPoint origin() const { return origin_; }

private:
    QPoint origin_;
};

struct LabelProps {
    int Left = 0, Top = 0, Width = 100, Height = 20;
    QString Text;
    QString TextFont = QStringLiteral("System");
    bool Bold = false;
    int TextAlign = 0;  // 0 left, 1 centred, 2 right
    bool Multiline = false;
    QRgb TextColor = 0x000000;
    bool Visible = true;
    bool Enabled = true;
    int TabIndex = 0;
};

class Label : public Control<QLabel> {
public:
    explicit Label(QWidget* parent);
    void apply(const LabelProps& p);
    QString Text() const { return text(); }
    // Redraws at once instead of at the next update of the window.
    void Refresh(bool eraseBackground = true);
    void setOpenHandler(std::function<void()> handler) { open_ = std::move(handler); }
    const std::function<void()>& openHandler() const { return open_; }

private:
    std::function<void()> open_;
};

struct PushButtonProps {
    int Left = 0, Top = 0, Width = 80, Height = 20;
    QString Caption;
    QString TextFont = QStringLiteral("System");
    bool Bold = false;
    bool Default = false;
    bool Cancel = false;
    bool Visible = true;
    bool Enabled = true;
    int TabIndex = 0;
};

class PushButton : public Control<QPushButton> {
public:
    explicit PushButton(QWidget* parent);
    void apply(const PushButtonProps& p);
    void setAction(std::function<void()> action) { action_ = std::move(action); }

    // Raises Action as a click does, whether or not the button is enabled.
    void Push();
    // Return presses the window's enabled default button, Escape its cancel button.
    bool Default() const { return default_; }
    void setDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void setCancel(bool cancel) { cancel_ = cancel; }
    QString Caption() const { return text(); }

private:
    std::function<void()> action_;
    bool default_ = false;
    bool cancel_ = false;
};

struct RadioButtonProps {
    int Left = 0, Top = 0, Width = 80, Height = 20;
    QString Caption;
    QString TextFont = QStringLiteral("System");
    bool Bold = false;
    bool Value = false;
    QString InitialParent;  // the group box whose group it joins
    bool Visible = true;
    bool Enabled = true;
    int TabIndex = 0;
};

// Radio buttons in one group box form a group: selecting one deselects the
// others. Selecting by code (setValue) raises no Action; a click does.
class RadioButton : public Control<QRadioButton> {
public:
    explicit RadioButton(QWidget* parent);
    void apply(const RadioButtonProps& p);
    void setAction(std::function<void()> action);
    bool Value() const { return isChecked(); }
    void setValue(bool value) { setChecked(value); }

private:
    std::function<void()> action_;
};

struct GroupBoxProps {
    int Left = 0, Top = 0, Width = 100, Height = 100;
    QString Caption;
    QString TextFont = QStringLiteral("System");
    bool Bold = false;
    bool Visible = true;
    bool Enabled = true;
    int TabIndex = 0;
};

class GroupBox : public Control<QGroupBox> {
public:
    explicit GroupBox(QWidget* parent);
    void apply(const GroupBoxProps& p);
};

struct TextFieldProps {
    int Left = 0, Top = 0, Width = 100, Height = 22;
    QString Text;
    QString TextFont = QStringLiteral("System");
    bool Bold = false;
    int Alignment = 0;  // 0 left, 1 left, 2 centred, 3 right
    // Each "A" admits one letter or digit; an empty mask admits anything.
    QString Mask;
    bool Border = true;
    bool Visible = true;
    bool Enabled = true;
    int TabIndex = 0;
};

class TextField : public Control<QLineEdit> {
public:
    explicit TextField(QWidget* parent);
    void apply(const TextFieldProps& p);
    // Raised whenever the text changes, by typing or by code.
    void setTextChangeHandler(std::function<void()> handler);
    QString Text() const { return text(); }
    void SetFocus() { setFocus(Qt::OtherFocusReason); }
    void setMask(const QString& mask);

private:
    std::function<void()> textChange_;
};

struct SeparatorProps {
    int Left = 0, Top = 0, Width = 100, Height = 4;
    bool Visible = true;
    int TabIndex = 0;
};

class Separator : public Control<QFrame> {
public:
    explicit Separator(QWidget* parent);
    void apply(const SeparatorProps& p);
};

struct ProgressBarProps {
    int Left = 0, Top = 0, Width = 100, Height = 12;
    int Value = 0;
    int Maximum = 100;  // 0: no amount is shown, only that work is going on
    bool Visible = true;
    bool Enabled = true;
};

class ProgressBar : public Control<QProgressBar> {
public:
    explicit ProgressBar(QWidget* parent);
    void apply(const ProgressBarProps& p);
    int Maximum() const { return maximum(); }
    void setMaximum(int maximum);
};

struct ListBoxProps {
    int Left = 0, Top = 0, Width = 100, Height = 100;
    int ColumnCount = 1;
    bool HasHeading = false;
    // Rows separated by CR, cells by TAB.
    QString InitialValue;
    QString TextFont = QStringLiteral("System");
    bool Visible = true;
    bool Enabled = true;
    int TabIndex = 0;
};

class ListBoxModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void setRows(std::vector<QStringList> rows, int columns);
    const std::vector<QStringList>& rows() const { return rows_; }

private:
    std::vector<QStringList> rows_;
    int columns_ = 1;
};

class ListBox : public Control<QTableView> {
public:
    explicit ListBox(QWidget* parent);
    void apply(const ListBoxProps& p);
    int ListCount() const { return int(model_.rows().size()); }
    int ColumnCount() const { return model_.columnCount(); }
    // The text of one cell, rows and columns counted from 0; "" outside the list.
    QString Cell(int row, int column) const;

private:
    ListBoxModel model_;
};

} // namespace fw
