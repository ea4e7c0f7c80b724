#pragma once

#include "DialogTemplate.h"

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

private:
    std::map<int, QWidget *> m_byId;
};

// Gives dialog its caption, its template's font (or a Japanese UI font at the
// same size where that is missing) and its fixed client size, and creates
// every control of the template as a child, at its place converted from
// dialog units with that font's metrics, in the template's tab order. A tab
// control is placed beneath the controls it frames.
TemplateControls buildFromTemplate(QWidget &dialog, const DialogTemplate &dialogTemplate);
