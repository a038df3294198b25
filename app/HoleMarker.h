#pragma once
// One hole marker: a solid black disc, 150 x 150 twips, whose position is
// kept in twips as single-precision values and shown at the nearest pixel,
// only where it lies over its clip area.

#include <QWidget>

namespace app {

class HoleMarker : public QWidget {
    Q_OBJECT
public:
    static constexpr float Size = 150.0F; // twips

    HoleMarker(float left, float top, QWidget* parent);

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return Size; }
    float Height() const { return Size; }
    void setLeft(float left);
    void setTop(float top);
    // Shows the marker only inside this area of its parent, in pixels.
    void clipTo(const QRect& area);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void place();

    float left_;
    float top_;
    QRect clip_;
};

} // namespace app
