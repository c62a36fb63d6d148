#include "program_fixture.h"

namespace lt::testing {
namespace {

class FloodTest : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
    }
};

TEST_F(FloodTest, TenMegabytesOfNoiseKeepEveryBufferBoundedAndTheNextReadWorks) {
    user->click(form().busyTone.SpeedButton4);  // opens the port, completes one read
    ASSERT_EQ(form().busyTone.Edit2.text(), "025");
    link().OpenModemLink(rqBusyRead);
    // Noise with line breaks, so the line log and the result recognition see it too.
    std::string chunk(4000, 'N');
    for (size_t i = 0; i < chunk.size(); i += 50) chunk[i] = '\r';
    for (int i = 0; i < 2500; ++i) {
        hp.serial.inject(chunk);
        hp.desktop.processMessages();
    }
    EXPECT_LE(link().RxText.size(), CommandExchange::kMaxRxText);
    EXPECT_LE(form().Memo2.lines().size(), form().Memo2.maxLines);
    EXPECT_EQ(hp.serial.queued(), 0u);

    hp.modem().setRegister(203, 99);
    user->click(form().busyTone.SpeedButton4);
    EXPECT_EQ(form().busyTone.Edit2.text(), "099");
    EXPECT_TRUE(errors().empty());
}

}  // namespace
}  // namespace lt::testing
