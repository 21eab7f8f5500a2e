#include "library/search_field.h"

#include <QKeyEvent>

TSearchField::TSearchField(const QString& objectName, QWidget* parent) : QLineEdit(parent) {
    setObjectName(objectName);
    setPlaceholderText(QStringLiteral("输入游戏名称或拼音查找，如“泡泡龙”、paopaolong、ppl"));
    setClearButtonEnabled(true);
}

void TSearchField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
