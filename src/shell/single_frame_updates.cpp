#include "shell/single_frame_updates.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>

TSteadyLabel::TSteadyLabel(QLabel* label, const QString& widestText, QWidget* parent)
    : QWidget(parent), FLabel(label), FWidestText(widestText) {
    FLabel->setParent(this);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize TSteadyLabel::sizeHint() const {
    const QMargins margins = FLabel->contentsMargins();
    const QFontMetrics metrics = FLabel->fontMetrics();
    return {metrics.horizontalAdvance(FWidestText) + margins.left() + margins.right(),
            metrics.height() + margins.top() + margins.bottom()};
}

void TSteadyLabel::resizeEvent(QResizeEvent*) {
    FLabel->setGeometry(rect());
}

void SetValueWithNextFrame(QProgressBar& bar, int value) {
    // A widget with its updates off is not painted; turning them on again only marks it.
    const bool updating = bar.updatesEnabled();
    bar.setUpdatesEnabled(false);
    bar.setValue(value);
    bar.setUpdatesEnabled(updating);
}

void LayOutBeforeNextFrame() {
    // Each pass lays out one level and asks the level above; windows are not nested deeper.
    constexpr int kDeepestNesting = 16;
    for (int level = 0; level < kDeepestNesting; ++level)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}
