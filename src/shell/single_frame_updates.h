#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;

// Changes to a window that should reach the screen in one frame. Where the window is composed
// with OpenGL (its browser panes make it so), every frame is a composition of the whole window,
// in software when there is no GPU, and a download shares the processor with it.

// Holds a label whose text changes several times a second, as a download's does. A QLabel asks
// every parent up to the window to lay out again on each new text, one level per turn of the
// event loop and a frame each. Held here, in a widget without a layout, the request ends at this
// widget and the text joins the window's next frame. Sized for the widest text it will show.
class TSteadyLabel : public QWidget {
public:
    TSteadyLabel(QLabel* label, const QString& widestText, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* FLabel;
    QString FWidestText;
};

// Moves Bar to Value with the window's next frame: QProgressBar paints a changed value at once,
// in a frame of its own.
void SetValueWithNextFrame(QProgressBar& bar, int value);

// Lays out now what widgets shown, hidden or changed asked for, so that the change reaches the
// screen in one frame rather than one per level of layouts.
void LayOutBeforeNextFrame();
