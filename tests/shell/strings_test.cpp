// The string table, the string cache and message texts.
#include "shell/strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox {
namespace {

// The alert ids that the table leaves out.
const std::set<int> kAbsentAlertIds = {13135, 13149, 13150, 13153, 13154, 13167, 13168};

TEST(StringTable, HasATextForEveryAlertIdExceptTheSevenGaps) {
  int count = 0;
  for (int id = kFirstAlertMessage; id <= kLastAlertMessage; ++id) {
    const char* text = StringTableText(id);
    if (kAbsentAlertIds.count(id)) {
      EXPECT_EQ(text, nullptr) << id;
      continue;
    }
    ASSERT_NE(text, nullptr) << id;
    EXPECT_GT(std::strlen(text), 0u) << id;
    // The cache and the message buffer load at most 255 characters.
    EXPECT_LE(std::strlen(text), 255u) << id;
    ++count;
  }
  EXPECT_EQ(count, 198);
  EXPECT_EQ(StringTableText(kFirstAlertMessage - 1), nullptr);
  EXPECT_EQ(StringTableText(kLastAlertMessage + 1), nullptr);
  EXPECT_EQ(StringTableText(0), nullptr);
  EXPECT_EQ(StringTableText(-5), nullptr);
}

TEST(StringTable, KeepsTextsWordForWord) {
  struct Case {
    int id;
    const char* text;
  } cases[] = {
      {kStrInformation, "Information"},
      {kStrProgramName, "Lemmabox"},
      {kStrSaveFileQuestion, "Save the file %s ?"},
      {kStrCannotReManipulate, "Cannot ReManipulate this Conclusion:  "},
      {kStrDefaultPrintHeader, "?n             page ?p?a"},
      {kStrLim, "lim"},
      {kStrUntitledPattern, "UNTITL%d.AXN"},
      {kStrStartupPattern, "NOTEBK%d.AXN"},
      {kStrNewNotebookTemplate, "NEWNOTE.AXN"},
      {kStrNameDeclarationSentence, "&1i A &2p named &3t behaves as &4p."},
      {kStrSolidColoringSentence, "        &1p is the solid color."},
      {kStrAnimationLine,
       "   Animate this graph for &1t in steps of &2t for a total of &3t frames &4p at &5p."},
      {13120, "Canceled by User Interrupt"},
      {13130, "Runaway recursion - out of stack space"},
      {13131, "A system error has occurred - please contact Tarno."},
      {13148, "Sorry, the data has been corrupted; it cannot be reconstructed."},
      {13151,
       "*** OUT OF MEMORY *** \nThe program is out of memory!  It must now quit.  All files will "
       "be saved, if possible.  Please allow more memory in the future."},
      {13192,
       "To make a working statement for an increment, it must be an equation or a table.  The name "
       "must be user-defined.  Indices must be names or integers (\xB1"
       "30000)."},
      {13203,
       "Sorry, you can't put a page break in the middle of a line.  Put it at the beginning of a "
       "line by itself.  "},
      {13210, "That's the longest name or number that you can have."},
      {13234,
       "This 'Evaluate At' op is strange.  The two arguments on the left must be equations of the "
       "form\n  variable = expression\nThey must be the same variable."},
      {13324,
       "To take a Fourier Transform, select a table, not an expression.  You might want to "
       "generate a table from your expression; choose 'Generate...' from the Manipulate Table "
       "menu."},
  };
  for (const Case& c : cases) {
    const char* text = StringTableText(c.id);
    ASSERT_NE(text, nullptr) << c.id;
    EXPECT_STREQ(text, c.text) << c.id;
  }
}

TEST(StringTable, TextsKnownOnlyByTheirFirstWordsBeginWithThem) {
  struct Case {
    int id;
    const char* start;
  } cases[] = {
      {13123, "Print Manager is not successfully loaded"},
      {13127, "File access denied"},
      {13147, "Sorry, that feature is unimplemented"},
      {13152, "*** OUT OF MEMORY ***"},
      {13164, "too many occurrences of ?{"},
      {13241, "This is a function name, not a variable name"},
      {13297, "all selections must be equations (ODE system)"},
  };
  for (const Case& c : cases) {
    const char* text = StringTableText(c.id);
    ASSERT_NE(text, nullptr) << c.id;
    EXPECT_EQ(std::string(text).rfind(c.start, 0), 0u) << c.id << ": " << text;
  }
}

TEST(StringCache, ReturnsEachCachedStringUnchangedAtTheSamePlace) {
  ResetStringCache();
  std::vector<std::pair<int, const char*>> fetched;
  for (int id : {kStrProgramName, kStrLim, 13120, 13148, kStrInformation}) {
    const char* text = StringById(id);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, StringTableText(id));
    fetched.emplace_back(id, text);
  }
  MessageText(13151);  // loads into the shared buffer, which must not disturb the cache
  for (auto [id, text] : fetched) {
    EXPECT_EQ(StringById(id), text) << id;
    EXPECT_STREQ(text, StringTableText(id)) << id;
    EXPECT_NE(text, SharedMessageBuffer());
  }
}

TEST(StringCache, RemembersMissingStringsAndRejectsIdsItCannotHold) {
  ResetStringCache();
  EXPECT_EQ(StringById(399), nullptr);
  EXPECT_EQ(StringById(399), nullptr);
  for (int id : {0, -1, 65536, 13135 + 65536}) EXPECT_EQ(StringById(id), nullptr) << id;
  // The directory is still sound afterwards.
  EXPECT_STREQ(StringById(kStrProgramName), "Lemmabox");
  EXPECT_EQ(StringById(kStrProgramName), StringById(kStrProgramName));
}

TEST(StringCache, AFullDirectoryServesFromTheSharedBuffer) {
  ResetStringCache();
  const char* name = StringById(kStrProgramName);
  // 198 further entries (missing ids take no text space) fill the 199 pairs.
  for (int id = 1000; id < 1000 + 198; ++id) ASSERT_EQ(StringById(id), nullptr);
  const char* full = StringById(13148);
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(full, SharedMessageBuffer());
  EXPECT_STREQ(full, StringTableText(13148));
  EXPECT_STREQ(StringById(13120), "Canceled by User Interrupt");
  // What was cached before stays where it was.
  EXPECT_EQ(StringById(kStrProgramName), name);
  EXPECT_STREQ(name, "Lemmabox");
  EXPECT_EQ(StringById(1100), nullptr);
}

TEST(StringCache, ExhaustedTextSpaceServesFromTheSharedBuffer) {
  ResetStringCache();
  std::vector<std::pair<int, const char*>> cached;
  int id = kFirstAlertMessage;
  // Load long texts until one comes back from the shared buffer.
  const char* text = nullptr;
  for (; id <= kLastAlertMessage; ++id) {
    if (!StringTableText(id)) continue;
    text = StringById(id);
    if (text == SharedMessageBuffer()) break;
    cached.emplace_back(id, text);
  }
  ASSERT_LE(id, kLastAlertMessage) << "the text space never ran out";
  EXPECT_GT(cached.size(), 10u);
  EXPECT_LT(cached.size(), 199u);
  EXPECT_STREQ(text, StringTableText(id));
  // Every text cached before is intact, inside the block, and not overlapping.
  for (auto [cachedId, cachedText] : cached) {
    EXPECT_EQ(StringById(cachedId), cachedText);
    EXPECT_STREQ(cachedText, StringTableText(cachedId)) << cachedId;
  }
  for (size_t i = 1; i < cached.size(); ++i) {
    EXPECT_GT(cached[i].second, cached[i - 1].second + std::strlen(cached[i - 1].second));
  }
  // It ran out because fewer than 256 bytes were left after the last text.
  const char* last = cached.back().second;
  size_t used = static_cast<size_t>(last - cached.front().second) + std::strlen(last) + 1;
  EXPECT_GT(used + 256, static_cast<size_t>(kStringCacheBytes - kStringCacheTextStart));
  EXPECT_LE(used, static_cast<size_t>(kStringCacheBytes - kStringCacheTextStart));
}

TEST(MessageTextTest, LoadsTheTextOrTheDefaultMessage) {
  struct Case {
    MessageNumber n;
    const char* text;
  } cases[] = {
      {kMsgUserInterrupt, "Canceled by User Interrupt"},
      {0, "A system error has occurred - please contact Tarno."},
      {13135, "A system error has occurred - please contact Tarno."},
      {99999, "A system error has occurred - please contact Tarno."},
      {-7, "A system error has occurred - please contact Tarno."},
  };
  for (const Case& c : cases) {
    const char* text = MessageText(c.n);
    EXPECT_EQ(text, SharedMessageBuffer());
    EXPECT_STREQ(text, c.text) << c.n;
  }
  EXPECT_STREQ(DefaultMessage(), "A system error has occurred - please contact Tarno.");
  EXPECT_STREQ(ProgramName(), "Lemmabox");
}

}  // namespace
}  // namespace lemmabox
