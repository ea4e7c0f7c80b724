#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Dialog templates give positions and sizes in dialog units: a quarter of
// the dialog font's average character width across, an eighth of its
// character height down. This converts them to pixels the way the Windows
// dialog manager does, so a template built from the same numbers keeps its
// proportions with whatever font the dialog gets.
class DialogUnits
{
public:
    // Base units from the font: the average width of the 52 Latin letters
    // (rounded as Windows rounds it) and the character height.
    explicit DialogUnits(const QFont &font);
    DialogUnits(int baseX, int baseY);

    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }

    // The same units stretched by factors given in thousandths (1000 keeps
    // them), for a template whose texts need more room in a font whose
    // Japanese is wider or taller, against its Latin letters, than the
    // template's font was.
    DialogUnits stretched(int perMilleX, int perMilleY) const;
    int stretchX() const { return m_stretchX; }
    int stretchY() const { return m_stretchY; }

    // Each value is converted on its own, rounded half away from zero.
    int toPixelsX(int dialogX) const;
    int toPixelsY(int dialogY) const;
    QSize toPixels(const QSize &dialogSize) const;
    // x, y, width and height in dialog units. Stretched, the far edges are
    // converted rather than the width and height, so that controls side by
    // side in the template never overlap.
    QRect toPixels(const QRect &dialogRect) const;

    // The template's font when it is installed and draws Japanese itself,
    // otherwise the Japanese font the program ships with (Noto Sans CJK JP),
    // otherwise the font that draws Japanese in the template font's place,
    // at the same point size.
    // One font for Latin and Japanese alike, so the base units describe the
    // Japanese texts too.
    static QFont templateFont(const QString &family, int pointSize);

private:
    int m_baseX;
    int m_baseY;
    int m_stretchX = 1000;
    int m_stretchY = 1000;
};
