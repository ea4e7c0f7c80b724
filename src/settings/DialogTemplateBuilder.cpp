#include "DialogTemplateBuilder.h"

#include "DialogUnits.h"
#include "UpDownControl.h"
#include "WrappingCheckBox.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTableView>

#include <vector>

namespace {

using Control = DialogTemplate::Control;
using C = DialogTemplate::ControlClass;
using S = DialogTemplate::Style;

QWidget *createEdit(const Control &control, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    if (control.style & S::ReadOnly) {
        // Read-only edits show the dialog's face, as on Windows.
        edit->setReadOnly(true);
        QPalette palette = edit->palette();
        palette.setBrush(QPalette::Base, palette.brush(QPalette::Window));
        edit->setPalette(palette);
    }
    edit->setFrame(!(control.style & S::NoBorder));
    if (control.style & S::RightAlign)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

QWidget *createCalendar(QWidget *parent)
{
    auto *calendar = new QCalendarWidget(parent);
    // Month and weekday names in Japanese whatever the user's locale.
    calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    calendar->setGridVisible(false);
    // A day's cell as wide and high as its text needs. By default the table
    // asks for a square of the font's line height and more per cell, which a
    // Japanese font with a tall line makes wider than the calendar's place,
    // and the last weekdays drop out of sight.
    if (auto *days = calendar->findChild<QTableView *>(QStringLiteral("qt_calendar_calendarview"))) {
        const QFontMetrics metrics(calendar->font());
        const int cell = std::max(metrics.horizontalAdvance(QStringLiteral("30")),
                             metrics.horizontalAdvance(QStringLiteral("日")))
            + 2;
        days->horizontalHeader()->setMinimumSectionSize(cell);
        days->verticalHeader()->setMinimumSectionSize(metrics.height());
    }
    return calendar;
}

QWidget *createPushButton(const Control &control, QWidget *parent)
{
    auto *button = new QPushButton(QString::fromUtf8(control.text), parent);
    // Enter never presses a button here, not even the focused one.
    button->setAutoDefault(false);
    button->setDefault(control.style & S::DefaultButton);
    return button;
}

QWidget *createControl(const Control &control, QWidget *parent)
{
    const QString text = QString::fromUtf8(control.text);
    switch (control.controlClass) {
    case C::CheckBox:
        if (control.style & S::MultiLine)
            return new WrappingCheckBox(text, parent);
        return new QCheckBox(text, parent);
    case C::Label: {
        auto *label = new QLabel(text, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case C::ComboBox:
        return new QComboBox(parent);
    case C::Edit:
        return createEdit(control, parent);
    case C::UpDown:
        return new UpDownControl(parent);
    case C::MonthCalendar:
        return createCalendar(parent);
    case C::GroupBox:
        return new QGroupBox(text, parent);
    case C::RadioButton:
        return new QRadioButton(text, parent);
    case C::PushButton:
        return createPushButton(control, parent);
    case C::TabControl:
        return new QTabWidget(parent);
    }
    return new QWidget(parent);
}

Qt::FocusPolicy focusPolicyOf(const Control &control)
{
    switch (control.controlClass) {
    case C::Label:
    case C::GroupBox:
    case C::UpDown:
        return Qt::NoFocus;
    default:
        return control.style & S::TabStop ? Qt::StrongFocus : Qt::ClickFocus;
    }
}

// The template's font where it is installed; otherwise one of its metric
// twins, IPA P Gothic or Takao P Gothic, which is made from it (same widths
// and line height, so the template's texts fit as designed), and failing that
// the fallback of the dialog-unit conversion.
QFont templateFont(const DialogTemplate &dialogTemplate)
{
    const QString family = QString::fromUtf8(dialogTemplate.fontFamily);
    if (!QFontDatabase::hasFamily(family)) {
        for (const QString &twin : {QStringLiteral("IPAPGothic"), QStringLiteral("TakaoPGothic")}) {
            if (QFontDatabase::hasFamily(twin))
                return QFont(twin, dialogTemplate.pointSize);
        }
    }
    return DialogUnits::templateFont(family, dialogTemplate.pointSize);
}

// How a control's text falls short of its place: too wide for it (across),
// or lines taller than it (down).
struct Shortfall
{
    bool across = false;
    bool down = false;
};

Shortfall wrappedShortfall(int neededHeight, int height)
{
    // Wrapped text that needs more lines than fit wants both: more width
    // takes fewer lines, more height holds more.
    return neededHeight > height ? Shortfall{true, true} : Shortfall{};
}

Shortfall lineShortfall(int neededWidth, int neededHeight, const QSize &area)
{
    return {neededWidth > area.width(), neededHeight > area.height()};
}

Shortfall shortfallOf(const QWidget &widget)
{
    const QFontMetrics metrics(widget.font());
    if (const auto *label = qobject_cast<const QLabel *>(&widget)) {
        if (label->text().isEmpty())
            return {};
        const QRect area = label->contentsRect();
        const int oneLine = metrics.horizontalAdvance(label->text());
        if (oneLine <= area.width())
            return lineShortfall(oneLine, metrics.height(), area.size());
        return wrappedShortfall(label->heightForWidth(label->width()), label->height());
    }
    if (const auto *box = qobject_cast<const WrappingCheckBox *>(&widget))
        return wrappedShortfall(box->heightForWidth(box->width()), box->height());
    if (const auto *button = qobject_cast<const QPushButton *>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return lineShortfall(metrics.horizontalAdvance(button->text()), metrics.height(), area.size());
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget)) {
        // A check box or radio button: its indicator, the spacing and the
        // text on one line, as the style sizes them.
        return lineShortfall(button->sizeHint().width(), metrics.height(), button->size());
    }
    if (const auto *group = qobject_cast<const QGroupBox *>(&widget))
        return lineShortfall(metrics.horizontalAdvance(group->title()), metrics.height(), group->size());
    if (const auto *edit = qobject_cast<const QLineEdit *>(&widget)) {
        const int frame = edit->hasFrame() ? 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        return lineShortfall(0, metrics.height() + frame, edit->size());
    }
    if (const auto *combo = qobject_cast<const QComboBox *>(&widget))
        return lineShortfall(combo->minimumSizeHint().width(), 0, combo->size());
    return {};
}

// Puts every control at its place in units.
void place(const DialogTemplate &dialogTemplate, const TemplateControls &controls,
    const std::vector<QWidget *> &widgets, const DialogUnits &units)
{
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        const Control &control = dialogTemplate.controls[i];
        QRect place = units.toPixels(QRect(control.x, control.y, control.width, control.height));
        // A combo box's template height includes its dropped list.
        if (control.controlClass == C::ComboBox)
            place.setHeight(widgets[i]->sizeHint().height());
        widgets[i]->setGeometry(place);
    }
    for (const Control &control : dialogTemplate.controls) {
        if (control.controlClass != C::UpDown)
            continue;
        // Aligned right of its buddy, which gives up the room it takes.
        auto *upDown = controls.get<UpDownControl>(control.id);
        auto *buddy = controls.get<QLineEdit>(control.buddyId);
        const QRect edit = buddy->geometry();
        const int width = units.toPixelsX(control.width);
        buddy->setGeometry(edit.adjusted(0, 0, -width, 0));
        upDown->setGeometry(edit.right() + 1 - width, edit.top(), width, edit.height());
    }
}

} // namespace

void TemplateControls::add(int id, QWidget *widget)
{
    m_byId[id] = widget;
}

TemplateControls buildFromTemplate(QWidget &dialog, const DialogTemplate &dialogTemplate)
{
    dialog.setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    dialog.setFont(templateFont(dialogTemplate));

    TemplateControls controls;
    std::vector<QWidget *> widgets;
    QWidget *previous = nullptr;
    for (const Control &control : dialogTemplate.controls) {
        QWidget *widget = createControl(control, &dialog);
        widget->setObjectName(QString::fromUtf8(control.name));
        widget->setFocusPolicy(focusPolicyOf(control));
        widgets.push_back(widget);
        if (control.id != -1)
            controls.add(control.id, widget);
        if (previous && widget->focusPolicy() != Qt::NoFocus)
            QWidget::setTabOrder(previous, widget);
        if (widget->focusPolicy() != Qt::NoFocus)
            previous = widget;
    }

    // The font's base units, stretched only as far as its texts need: in the
    // template's font (or a twin) nothing stretches; a font whose Japanese is
    // wider or taller against its Latin letters gets a proportionally larger
    // dialog, every control in the same relative place, so none overlaps.
    const DialogUnits base(dialog.font());
    constexpr int kStep = 25; // thousandths
    constexpr int kMost = 2000;
    int stretchX = 1000;
    int stretchY = 1000;
    for (;;) {
        place(dialogTemplate, controls, widgets, base.stretched(stretchX, stretchY));
        Shortfall any;
        for (const QWidget *widget : widgets) {
            const Shortfall shortfall = shortfallOf(*widget);
            any.across = any.across || shortfall.across;
            any.down = any.down || shortfall.down;
        }
        if ((!any.across || stretchX >= kMost) && (!any.down || stretchY >= kMost))
            break;
        if (any.across && stretchX < kMost)
            stretchX += kStep;
        if (any.down && stretchY < kMost)
            stretchY += kStep;
    }
    const DialogUnits units = base.stretched(stretchX, stretchY);
    controls.setUnits(units);
    dialog.setFixedSize(units.toPixels(QSize(dialogTemplate.width, dialogTemplate.height)));

    for (const Control &control : dialogTemplate.controls) {
        if (control.controlClass == C::TabControl)
            controls.get<QWidget>(control.id)->lower();
        else if (control.controlClass == C::UpDown)
            controls.get<UpDownControl>(control.id)->setBuddy(controls.get<QLineEdit>(control.buddyId));
    }
    return controls;
}
