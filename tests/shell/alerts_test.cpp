// Alerts, message boxes and the state they keep while they are up.
#include "shell/alerts.h"

#include <stdexcept>

#include "shell/messages.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

// Records the shell's state at the moment a box is shown.
class WatchingPlatform : public HeadlessPlatform {
 public:
  BoxAnswer ShowMessageBox(const MessageBoxRequest& request) override {
    alertUp = AlertIsUp();
    modalUp = ModalIsUp();
    busy = BusyFlag();
    if (fail) throw std::runtime_error("no display");
    return HeadlessPlatform::ShowMessageBox(request);
  }
  bool alertUp = false;
  bool modalUp = false;
  bool busy = false;
  bool fail = false;
};

class AlertTest : public testing::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    SetCurrentPlatform(&watcher);
  }
  void TearDown() override {
    SetModalOwner(nullptr);
    SetBusyFlag(false);
    HeadlessTest::TearDown();
  }
  WatchingPlatform watcher;
};

TEST_F(AlertTest, AlertsShowTheirTextCaptionAndIcon) {
  struct Case {
    MessageNumber n;
    const char* text;
  } cases[] = {
      {kMsgCorruptData, "Sorry, the data has been corrupted; it cannot be reconstructed."},
      {0, "A system error has occurred - please contact Tarno."},
      {13135, "A system error has occurred - please contact Tarno."},
      // The program's own characters reach the desktop as UTF-8.
      {13196,
       "When you define a function, the name of the function must be a name of class Function.  "
       "It can have subscripts; indices must be names or integers (\u00B130000)."},
  };
  for (const Case& c : cases) {
    watcher.boxes.clear();
    int beeps = watcher.beeps;
    Alert(c.n);
    ASSERT_EQ(watcher.boxes.size(), 1u) << c.n;
    const MessageBoxRequest& box = watcher.boxes[0];
    EXPECT_EQ(box.text, c.text) << c.n;
    EXPECT_EQ(box.caption, "Lemmabox");
    EXPECT_EQ(box.icon, BoxIcon::kStop);
    EXPECT_EQ(box.buttons, BoxButtons::kOk);
    EXPECT_FALSE(box.systemModal);
    EXPECT_EQ(watcher.beeps, beeps + 1);
  }
}

TEST_F(AlertTest, InformationAlertsShowOnlyTextsThatExist) {
  InformationAlert(kMsgUnknownPredefinedName);
  ASSERT_EQ(watcher.boxes.size(), 1u);
  EXPECT_EQ(watcher.boxes[0].caption, "Information");
  EXPECT_EQ(watcher.boxes[0].icon, BoxIcon::kInformation);
  EXPECT_EQ(watcher.boxes[0].text.rfind("predefined name that this version doesn't have", 0), 0u);
  InformationAlert(13135);
  InformationAlert(0);
  EXPECT_EQ(watcher.boxes.size(), 1u);
}

TEST_F(AlertTest, MessageBoxesPassTheAnswerAndDefaultTheCaption) {
  watcher.answers = {BoxAnswer::kYes, BoxAnswer::kCancel};
  EXPECT_EQ(
      MessageBox("Save the file a.axn ?", "", BoxIcon::kInformation, BoxButtons::kYesNoCancel),
      BoxAnswer::kYes);
  EXPECT_EQ(MessageBox("Go on?", "Graph", BoxIcon::kQuestion, BoxButtons::kOkCancel),
            BoxAnswer::kCancel);
  ASSERT_EQ(watcher.boxes.size(), 2u);
  EXPECT_EQ(watcher.boxes[0].caption, "Lemmabox");
  EXPECT_EQ(watcher.boxes[0].text, "Save the file a.axn ?");
  EXPECT_EQ(watcher.boxes[1].caption, "Graph");
}

TEST_F(AlertTest, ABoxKeepsOtherWorkAwayAndPutsTheStateBack) {
  int dialog = 0;
  struct Case {
    const void* owner;
    bool busy;
  } cases[] = {{nullptr, false}, {&dialog, false}, {nullptr, true}, {&dialog, true}};
  for (const Case& c : cases) {
    SetModalOwner(c.owner);
    SetBusyFlag(c.busy);
    Alert(kMsgUserInterrupt);
    EXPECT_TRUE(watcher.alertUp);
    EXPECT_TRUE(watcher.modalUp);
    EXPECT_TRUE(watcher.busy);
    EXPECT_EQ(ModalOwner(), c.owner);
    EXPECT_EQ(ModalIsUp(), c.owner != nullptr);
    EXPECT_FALSE(AlertIsUp());
    EXPECT_EQ(BusyFlag(), c.busy);
  }
}

TEST_F(AlertTest, AFailingBoxStillPutsTheStateBack) {
  watcher.fail = true;
  EXPECT_THROW(MessageBox("x", "", BoxIcon::kStop, BoxButtons::kOk), std::runtime_error);
  EXPECT_FALSE(ModalIsUp());
  EXPECT_FALSE(BusyFlag());
}

}  // namespace
}  // namespace lemmabox
