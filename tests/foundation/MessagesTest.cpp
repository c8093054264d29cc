#include "foundation/Messages.h"

#include "support/Test.h"

#include "support/RecordedMessages.h"
#include <QObject>
#include <cstdio>

#include <stdexcept>

namespace {

class MessagesTest : public ::testing::Test {
protected:
    // Each box shown as "caption: text [button]...".
    QStringList Seen() const {
        QStringList seen;
        for (const TMessageBox& box : recorder_->Shown()) {
            seen << box.Caption + ": " + box.Text;
            for (int result : box.Buttons)
                seen.last() += " [" + ButtonCaption(result) + "]";
        }
        return seen;
    }

    TRecordedMessages messages_;
    TRecordingPresenter* recorder_ = &messages_.Recorder();
};

TEST_F(MessagesTest, EachKindHasItsCaptionAndButtons) {
    QObject owner;
    ShowInformation(&owner, "Gemt");
    ShowError(nullptr, "Kunne ikke åbne stævnet: Æbelø");
    recorder_->QueueAnswer(mrCancel);
    EXPECT_EQ(ShowMessageForm(nullptr, "Gem ændringer", TMessageKind::Confirm), mrCancel);

    EXPECT_EQ(Seen(), (QStringList{"Information: Gemt [&OK]", "Fejl: Kunne ikke åbne stævnet: Æbelø [&OK]",
                                   "Bekræft: Gem ændringer [&Ja] [&Nej] [&Annullér]"}));
    EXPECT_EQ(recorder_->Owners()[0], &owner);
}

TEST_F(MessagesTest, AskConfirmAppendsAQuestionMarkAndIsTrueOnlyForJa) {
    recorder_->QueueAnswer(mrYes);
    recorder_->QueueAnswer(mrNo);
    recorder_->QueueAnswer(mrCancel); // the box closed without an answer
    EXPECT_TRUE(AskConfirm(nullptr, "Slet"));
    EXPECT_FALSE(AskConfirm(nullptr, "Slet"));
    EXPECT_FALSE(AskConfirm(nullptr, "Slet"));
    EXPECT_EQ(Seen().last(), "Bekræft: Slet? [&Ja] [&Nej]");
}

TEST_F(MessagesTest, DefaultButtonAppliesToTheNextBoxOnly) {
    MessageDefaultButton = 1;
    EXPECT_FALSE(AskConfirm(nullptr, "Slet øvelse")) << "unanswered, the default Nej is the answer";
    EXPECT_EQ(MessageDefaultButton, 0);
    EXPECT_TRUE(AskConfirm(nullptr, "Slet øvelse"));
    MessageDefaultButton = 2;
    EXPECT_EQ(ShowMessageForm(nullptr, "Gem", TMessageKind::Confirm), mrCancel);
    // An index past the row falls back to the first button.
    MessageDefaultButton = 1;
    ShowInformation(nullptr, "Info");
    EXPECT_EQ(recorder_->Shown().back().DefaultButton, 0);
    EXPECT_EQ(MessageDefaultButton, 0);

    class TThrowing : public TMessagePresenter {
        int Present(QObject*, const TMessageBox&) override { throw std::runtime_error("no display"); }
    };
    const TScopedMessagePresenter throwing(std::make_unique<TThrowing>());
    MessageDefaultButton = 1;
    EXPECT_THROW(AskConfirm(nullptr, "Slet"), std::runtime_error);
    EXPECT_EQ(MessageDefaultButton, 0);
}

TEST(MessagePresenter, LoggingIsTheDefaultAndAnswersAsTheDefaultButton) {
    EXPECT_NE(dynamic_cast<TLoggingPresenter*>(&MessagePresenter()), nullptr);

    std::FILE* log = std::tmpfile();
    ASSERT_NE(log, nullptr);
    const TScopedMessagePresenter scope(std::make_unique<TLoggingPresenter>(log));
    ShowError(nullptr, "Fejl i data for stævnet: A\r\n\r\nData er nulstillet");
    EXPECT_TRUE(AskConfirm(nullptr, "Overskriv"));
    MessageDefaultButton = 1;
    EXPECT_EQ(ShowMessageForm(nullptr, "Gem", TMessageKind::Confirm), mrNo);

    std::rewind(log);
    char buffer[512] = {};
    const size_t bytesRead = std::fread(buffer, 1, sizeof buffer - 1, log);
    std::fclose(log);
    EXPECT_EQ(QString::fromUtf8(buffer, qsizetype(bytesRead)),
              "Fejl: Fejl i data for stævnet: A\n\nData er nulstillet\nBekræft: Overskriv?\nBekræft: Gem\n");
}

} // namespace
