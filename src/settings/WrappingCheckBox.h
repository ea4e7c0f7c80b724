#pragma once

#include <QCheckBox>

class QStyleOptionButton;

// A check box whose text wraps onto as many lines as its width needs,
// centred beside the box. The whole area toggles it.
class WrappingCheckBox final : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

    // The height its text takes, wrapped beside the box, at width.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    // Where the text starts: right of the box and the style's spacing.
    int textLeft(const QStyleOptionButton &option) const;
};
