#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/QtMessageBoxes.h"

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::QtMessageBoxes;

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    Qt::TextFormat format = Qt::AutoText;
};

// Answers the next message box by pressing the button with the given caption,
// after noting what the box showed.
void AnswerNextBox(SeenBox& seen, const QString& press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.format = box->textFormat();
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == press) b->click();
        }
    });
}

class MessageBoxesTest : public ::testing::Test {
protected:
    QtMessageBoxes boxes_{nullptr};
    SeenBox seen_;
};

TEST(MessageBoxText, CarriageReturnsBecomeLineBreaks) {
    EXPECT_EQ(QtMessageBoxes::DisplayText("один\rдва"), QStringLiteral("один\nдва"));
    EXPECT_EQ(QtMessageBoxes::DisplayText("один\r\nдва\r"), QStringLiteral("один\nдва\n"));
    EXPECT_EQ(QtMessageBoxes::DisplayText("без разрывов"), QStringLiteral("без разрывов"));
}

TEST_F(MessageBoxesTest, YesNoQuestionAnsweredYes) {
    AnswerNextBox(seen_, QStringLiteral("Да"));
    const MsgResult result = boxes_.Show("Завершение программы", "Вы уверены?\rПравда?",
                                         MsgButtons::YesNo, MsgIcon::Question);
    EXPECT_EQ(result, MsgResult::Yes);
    EXPECT_EQ(seen_.title, QStringLiteral("Завершение программы"));
    EXPECT_EQ(seen_.text, QStringLiteral("Вы уверены?\nПравда?"));
    EXPECT_EQ(seen_.icon, QMessageBox::Question);
    EXPECT_EQ(seen_.buttons.size(), 2);
}

TEST_F(MessageBoxesTest, YesNoQuestionAnsweredNo) {
    AnswerNextBox(seen_, QStringLiteral("Нет"));
    EXPECT_EQ(boxes_.Show("Вопрос", "Да или нет?", MsgButtons::YesNo, MsgIcon::Question),
              MsgResult::No);
}

TEST_F(MessageBoxesTest, NoticeWithEmptyTitleShowsExclamationAndOk) {
    AnswerNextBox(seen_, QStringLiteral("OK"));
    const MsgResult result =
        boxes_.Show("", "В демонстрационной версии программы\rданная функция не подключена.",
                    MsgButtons::Ok, MsgIcon::Exclamation);
    EXPECT_EQ(result, MsgResult::Ok);
    EXPECT_EQ(seen_.title, QString());
    EXPECT_EQ(seen_.text,
              QStringLiteral("В демонстрационной версии программы\nданная функция не подключена."));
    EXPECT_EQ(seen_.icon, QMessageBox::Warning);
    EXPECT_EQ(seen_.buttons, QStringList{QStringLiteral("OK")});
}

TEST_F(MessageBoxesTest, MarkupInTextIsShownLiterally) {
    AnswerNextBox(seen_, QStringLiteral("OK"));
    boxes_.Show("", "<b>Unable to write to</b> C:\\a&b.ini", MsgButtons::Ok, MsgIcon::Error);
    EXPECT_EQ(seen_.text, QStringLiteral("<b>Unable to write to</b> C:\\a&b.ini"));
    EXPECT_EQ(seen_.format, Qt::PlainText);
    EXPECT_EQ(seen_.icon, QMessageBox::Critical);
}

}  // namespace

int main(int argc, char** argv) {
    // Test discovery runs the program without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
