#include "DialogTemplateBuilder.h"

#include "DialogUnits.h"
#include "UpDownControl.h"
#include "WrappingCheckBox.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

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

// The template's font where it is installed; otherwise its metric twin IPA P
// Gothic (same widths and line height, so the template's texts fit as
// designed), and failing that the fallback of the dialog-unit conversion.
QFont templateFont(const DialogTemplate &dialogTemplate)
{
    const QString family = QString::fromUtf8(dialogTemplate.fontFamily);
    const QString twin = QStringLiteral("IPAPGothic");
    if (!QFontDatabase::hasFamily(family) && QFontDatabase::hasFamily(twin))
        return QFont(twin, dialogTemplate.pointSize);
    return DialogUnits::templateFont(family, dialogTemplate.pointSize);
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
    const DialogUnits units(dialog.font());
    dialog.setFixedSize(units.toPixels(QSize(dialogTemplate.width, dialogTemplate.height)));

    TemplateControls controls;
    QWidget *previous = nullptr;
    for (const Control &control : dialogTemplate.controls) {
        QWidget *widget = createControl(control, &dialog);
        widget->setObjectName(QString::fromUtf8(control.name));
        widget->setFocusPolicy(focusPolicyOf(control));
        QRect place = units.toPixels(QRect(control.x, control.y, control.width, control.height));
        // A combo box's template height includes its dropped list.
        if (control.controlClass == C::ComboBox)
            place.setHeight(widget->sizeHint().height());
        widget->setGeometry(place);
        if (control.id != -1)
            controls.add(control.id, widget);
        if (previous && widget->focusPolicy() != Qt::NoFocus)
            QWidget::setTabOrder(previous, widget);
        if (widget->focusPolicy() != Qt::NoFocus)
            previous = widget;
    }

    for (const Control &control : dialogTemplate.controls) {
        if (control.controlClass == C::TabControl) {
            controls.get<QWidget>(control.id)->lower();
        } else if (control.controlClass == C::UpDown) {
            // Aligned right of its buddy, which gives up the room it takes.
            auto *upDown = controls.get<UpDownControl>(control.id);
            auto *buddy = controls.get<QLineEdit>(control.buddyId);
            const QRect edit = buddy->geometry();
            const int width = units.toPixelsX(control.width);
            buddy->setGeometry(edit.adjusted(0, 0, -width, 0));
            upDown->setGeometry(edit.right() + 1 - width, edit.top(), width, edit.height());
            upDown->setBuddy(buddy);
        }
    }
    return controls;
}
