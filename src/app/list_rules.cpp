#include "app/list_rules.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace kt730 {

void applyListRules(QWidget* root) {
    for (QComboBox* list : root->findChildren<QComboBox*>()) {
        list->setInsertPolicy(QComboBox::NoInsert);
        if (!list->isEditable()) continue;
        QObject::connect(list, &QComboBox::editTextChanged, list, [list](const QString& text) {
            const int index = list->currentIndex();
            if (index < 0 || list->itemText(index) == text) return;
            QLineEdit* edit = list->lineEdit();
            const int cursor = edit->cursorPosition();
            const QSignalBlocker block(list);
            list->setCurrentIndex(-1);
            edit->setText(text);
            edit->setCursorPosition(cursor);
        });
    }
}

}  // namespace kt730
