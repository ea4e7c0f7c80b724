#pragma once

#include "DialogTemplate.h"
#include "DialogUnits.h"

#include <QWidget>

#include <map>

// The widgets of a dialog built from its template, found by identifier.
class TemplateControls
{
public:
    void add(int id, QWidget *widget);

    // The control with identifier id, of type T; nullptr when there is none.
    template <typename T> T *get(int id) const
    {
        const auto it = m_byId.find(id);
        return it == m_byId.end() ? nullptr : qobject_cast<T *>(it->second);
    }

    // The units the controls were placed in.
    const DialogUnits &units() const { return m_units; }
    void setUnits(const DialogUnits &units) { m_units = units; }

private:
    std::map<int, QWidget *> m_byId;
    DialogUnits m_units{0, 0};
};

// Gives dialog its caption, its template's font (or a Japanese UI font at the
// same size where that is missing) and its fixed client size, and creates
// every control of the template as a child, at its place converted from
// dialog units with that font's metrics, in the template's tab order. Where
// a text would not fit in another font than the template's, the units
// stretch until every one does. A tab control is placed beneath the controls
// it frames.
TemplateControls buildFromTemplate(QWidget &dialog, const DialogTemplate &dialogTemplate);
