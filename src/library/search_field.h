#pragma once

#include <QLineEdit>

// The local library's search field: the pages show only the games it finds as it is typed in;
// Esc empties it.
class TSearchField : public QLineEdit {
    Q_OBJECT
public:
    explicit TSearchField(const QString& objectName, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
