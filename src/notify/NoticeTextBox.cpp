#include "NoticeTextBox.h"

#include <QFontMetricsF>
#include <QRawFont>
#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

// Room left free on each side of the text, as Qt's document margin leaves
// it; above and below the lines, together at least as much.
constexpr int kMargin = 4;

// usWinAscent + usWinDescent of the font's OS/2 table, in pixels; 0 when the
// font has none.
qreal windowsLineHeight(const QFont &font)
{
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray os2 = raw.fontTable("OS/2");
    if (!raw.isValid() || raw.unitsPerEm() <= 0 || os2.size() < 78)
        return 0;
    const auto *data = reinterpret_cast<const uchar *>(os2.constData());
    const int ascent = qFromBigEndian<quint16>(data + 74);
    const int descent = qFromBigEndian<quint16>(data + 76);
    return (ascent + descent) * raw.pixelSize() / raw.unitsPerEm();
}

// The distance between the lines of a multi-line box in font: the height of
// a line as Windows lays out an edit box in a dialog (the font's usWinAscent
// + usWinDescent), and never less than Qt's line spacing. Some Japanese fonts
// (VL Gothic) ask, in their typographic metrics, which Qt follows, for lines
// a single em apart: their ideographs and Latin descenders then nearly touch.
int linePitchOf(const QFont &font)
{
    const qreal spacing = std::max(QFontMetricsF(font).lineSpacing(), windowsLineHeight(font));
    // Rounded up, but a height a rounding error above a whole pixel is that pixel.
    return static_cast<int>(std::ceil(spacing - 1.0 / 64));
}

} // namespace

NoticeTextBox::NoticeTextBox(QWidget *parent)
    : QTextEdit(parent)
{
    setReadOnly(true);
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    // The room around the text is the box's own (fitLines), not the
    // document's: the lines run from the top of the part that shows them to
    // its bottom.
    document()->setDocumentMargin(0);
    // That room lies outside the viewport: painted like the rest of the box.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &NoticeTextBox::snapToLine);
}

void NoticeTextBox::fitLines()
{
    m_linePitch = std::max(1, linePitchOf(font()));
    const int inside = height() - 2 * frameWidth();
    const int lines = std::max(1, (inside - kMargin) / m_linePitch);
    const int spare = std::max(0, inside - lines * m_linePitch);
    setViewportMargins(kMargin, spare / 2, kMargin, spare - spare / 2);
    verticalScrollBar()->setSingleStep(m_linePitch);
    showText(toPlainText());
}

void NoticeTextBox::showText(const QString &text)
{
    setPlainText(text);
    QTextBlockFormat line;
    line.setLineHeight(m_linePitch, QTextBlockFormat::FixedHeight);
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(line);
}

// Dragging the slider or scrolling to the text cursor can stop between two
// lines: the box moves on to the next whole line in the same direction.
void NoticeTextBox::snapToLine(int value)
{
    QScrollBar *bar = verticalScrollBar();
    const int below = value / m_linePitch * m_linePitch;
    int snapped = below;
    if (value != below && value > m_lastValue)
        snapped = std::min(below + m_linePitch, bar->maximum());
    m_lastValue = snapped;
    if (snapped != value)
        bar->setValue(snapped);
}
