#include "fw/controls.h"

#include "fw/dispatch.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace fw {

QFont controlFont(const QString& family, double pixelSize, bool bold)
{
    // The layouts name the original platform's fonts; Liberation Sans is free,
    // installed with the program and close to them in width.
    QFont f(QStringLiteral("Liberation Sans"));
    if (!family.isEmpty() && family != QLatin1String("System") && family != QLatin1String("Helvetica Neue")
        && family != QLatin1String("Arial") && family != QLatin1String("Helvetica"))
        f.setFamilies({family, QStringLiteral("Liberation Sans")});
    f.setPixelSize(pixelSize > 0 ? int(pixelSize + 0.5) : kDefaultTextPixelSize);
    f.setBold(bold);
    return f;
}

namespace {

// The font a control carries before its list is applied: a size set in code
// (the control's TextSize) survives; the list sets family and boldness.
void applyFont(QWidget* w, const QString& family, bool bold)
{
    const int size = w->property("fwTextSize").toInt();
    w->setFont(controlFont(family, size, bold));
}

Qt::Alignment labelAlignment(int textAlign)
{
    switch (textAlign) {
    case 1: return Qt::AlignHCenter | Qt::AlignTop;
    case 2: return Qt::AlignRight | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignTop;
    }
}

} // namespace

Label::Label(QWidget* parent) : Control<QLabel>(parent)
{
    // Texts from outside (the update file) must never be read as markup.
    setTextFormat(Qt::PlainText);
}

void Label::apply(const LabelProps& p)
{
    place(parentWidget(), origin(), p.Left, p.Top, p.Width, p.Height);
    setText(p.Text);
    applyFont(this, p.TextFont, p.Bold);
    setAlignment(labelAlignment(p.TextAlign));
    setWordWrap(p.Multiline);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor::fromRgb(p.TextColor));
    setPalette(pal);
    setEnabled(p.Enabled);
    setVisible(p.Visible);
}

void Label::Refresh(bool /*eraseBackground*/)
{
    repaint();
}

PushButton::PushButton(QWidget* parent) : Control<QPushButton>(parent)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this]() { Push(); });
}

void PushButton::apply(const PushButtonProps& p)
{
    place(parentWidget(), origin(), p.Left, p.Top, p.Width, p.Height);
    setText(p.Caption);
    applyFont(this, p.TextFont, p.Bold);
    setDefault(p.Default);
    cancel_ = p.Cancel;
    setEnabled(p.Enabled);
    setVisible(p.Visible);
}

void PushButton::Push()
{
    if (action_) {
        auto action = action_;
        dispatch(action);
    }
}

void PushButton::setDefault(bool isDefault)
{
    default_ = isDefault;
    // Draws the default frame; pressing it on Return is the window's job.
    QPushButton::setDefault(isDefault);
}

RadioButton::RadioButton(QWidget* parent) : Control<QRadioButton>(parent)
{
    setAutoExclusive(true);
}

void RadioButton::apply(const RadioButtonProps& p)
{
    place(parentWidget(), origin(), p.Left, p.Top, p.Width, p.Height);
    setText(p.Caption);
    applyFont(this, p.TextFont, p.Bold);
    setChecked(p.Value);
    setEnabled(p.Enabled);
    setVisible(p.Visible);
}

void RadioButton::setAction(std::function<void()> action)
{
    action_ = std::move(action);
    // clicked, not toggled: a selection made by code raises nothing.
    connect(this, &QRadioButton::clicked, this, [this]() {
        if (action_) {
            auto action = action_;
            dispatch(action);
        }
    });
}

GroupBox::GroupBox(QWidget* parent) : Control<QGroupBox>(parent) { }

void GroupBox::apply(const GroupBoxProps& p)
{
    place(parentWidget(), origin(), p.Left, p.Top, p.Width, p.Height);
    setTitle(p.Caption);
    applyFont(this, p.TextFont, p.Bold);
    setEnabled(p.Enabled);
    setVisible(p.Visible);
}

TextField::TextField(QWidget* parent) : Control<QLineEdit>(parent) { }

void TextField::apply(const TextFieldProps& p)
{
    place(parentWidget(), origin(), p.Left, p.Top, p.Width, p.Height);
    applyFont(this, p.TextFont, p.Bold);
    setAlignment(p.Alignment == 2 ? Qt::AlignHCenter | Qt::AlignVCenter
                 : p.Alignment == 3 ? Qt::AlignRight | Qt::AlignVCenter
                                    : Qt::AlignLeft | Qt::AlignVCenter);
    setFrame(p.Border);
    // The design text is shown as it stands, even where the mask would refuse it.
    setMask(p.Mask);
    setText(p.Text);
    setEnabled(p.Enabled);
    setVisible(p.Visible);
}

void TextField::setMask(const QString& mask)
{
    // An input mask would pad with blanks and lose keystrokes typed past the
    // cursor; a maximum length with a letters-or-digits validator types naturally.
    if (mask.isEmpty()) {
        setValidator(nullptr);
        setMaxLength(32767);
        return;
    }
    setMaxLength(int(mask.size()));
    static const QRegularExpression kAlnum(QStringLiteral("[A-Za-z0-9]*"));
    setValidator(new QRegularExpressionValidator(kAlnum, this));
}

void TextField::setTextChangeHandler(std::function<void()> handler)
{
    textChange_ = std::move(handler);
    connect(this, &QLineEdit::textChanged, this, [this]() {
        if (textChange_) {
            auto h = textChange_;
            dispatch(h);
        }
    });
}

Separator::Separator(QWidget* parent) : Control<QFrame>(parent)
{
    setFrameShape(QFrame::HLine);
    setFrameShadow(QFrame::Sunken);
}

void Separator::apply(const SeparatorProps& p)
{
    place(parentWidget(), origin(), p.Left, p.Top, p.Width, p.Height);
    setVisible(p.Visible);
}

ProgressBar::ProgressBar(QWidget* parent) : Control<QProgressBar>(parent)
{
    setTextVisible(false);
}

void ProgressBar::apply(const ProgressBarProps& p)
{
    place(parentWidget(), origin(), p.Left, p.Top, p.Width, p.Height);
    setMaximum(p.Maximum);
    setValue(p.Value);
    setEnabled(p.Enabled);
    setVisible(p.Visible);
}

void ProgressBar::setMaximum(int maximum)
{
    // A maximum of 0 measures nothing: Qt draws that as a busy bar.
    setRange(0, std::max(0, maximum));
}

int ListBoxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int ListBoxModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || size_t(index.row()) >= rows_.size())
        return {};
    const QStringList& row = rows_[size_t(index.row())];
    return index.column() < row.size() ? row.at(index.column()) : QString();
}

void ListBoxModel::setRows(std::vector<QStringList> rows, int columns)
{
    beginResetModel();
    rows_ = std::move(rows);
    columns_ = std::max(1, columns);
    endResetModel();
}

ListBox::ListBox(QWidget* parent) : Control<QTableView>(parent)
{
    setModel(&model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setShowGrid(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ListBox::apply(const ListBoxProps& p)
{
    place(parentWidget(), origin(), p.Left, p.Top, p.Width, p.Height);
    setFont(controlFont(p.TextFont, property("fwTextSize").toInt(), false));
    std::vector<QStringList> rows;
    if (!p.InitialValue.isEmpty()) {
        const QStringList lines = p.InitialValue.split(QLatin1Char('\r'));
        rows.reserve(size_t(lines.size()));
        for (const QString& line : lines)
            rows.push_back(line.split(QLatin1Char('\t')));
    }
    // With a heading the first row names the columns instead of being a row.
    if (p.HasHeading && !rows.empty()) {
        const QStringList heading = rows.front();
        rows.erase(rows.begin());
        horizontalHeader()->show();
        Q_UNUSED(heading);
    }
    model_.setRows(std::move(rows), p.ColumnCount);
    setEnabled(p.Enabled);
    setVisible(p.Visible);
}

QString ListBox::Cell(int row, int column) const
{
    const auto& rows = model_.rows();
    if (row < 0 || size_t(row) >= rows.size() || column < 0)
        return {};
    const QStringList& r = rows[size_t(row)];
    return column < r.size() ? r.at(column) : QString();
}

} // namespace fw
