#pragma once

#include <QLabel>
#include <functional>

// A picture that reacts to a left click, like the pane toggles beside the browser panes.
class TClickableImage : public QLabel {
    Q_OBJECT
public:
    explicit TClickableImage(const QString& objectName, QWidget* parent = nullptr);

    void SetOnClick(std::function<void()> handler) { FOnClick = std::move(handler); }
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void()> FOnClick;
};
