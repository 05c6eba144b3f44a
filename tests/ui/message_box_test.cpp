// The window's messages are application-modal message boxes holding exactly the message text,
// and they do not hold up the caller: timers and replies go on while one is open.
#include <QMessageBox>
#include <QtTest>

#include "link/qt_messages.h"

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void messagesAreModalBoxesWithTheExactText_data() {
        QTest::addColumn<bool>("isError");
        QTest::addColumn<QString>("text");
        QTest::newRow("time-out") << false << "Connection Timeout!";
        QTest::newRow("set time-out") << false << "!";
        QTest::newRow("conversion error") << true << "'abc' is not a valid integer value.";
    }
    void messagesAreModalBoxesWithTheExactText() {
        QFETCH(bool, isError);
        QFETCH(QString, text);
        QWidget window;
        window.show();
        kt730::QtMessages messages;
        messages.setParent(&window);
        // The call returns at once, with the box open.
        if (isError) {
            messages.error(text.toStdString());
        } else {
            messages.message(text.toStdString());
        }
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        QCOMPARE(box->text(), text);
        QCOMPARE(box->windowModality(), Qt::ApplicationModal);
        QCOMPARE(box->icon(), isError ? QMessageBox::Critical : QMessageBox::Information);
        box->accept();
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
