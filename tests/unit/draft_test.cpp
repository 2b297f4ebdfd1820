// The settings window's listing and edits of a draft profile text.

#include <gtest/gtest.h>

#include "layers/value_error.h"
#include "localization/language.h"
#include "main/draft_edit.h"
#include "main/draft_list.h"
#include "main/profile_text.h"

namespace quillon {
namespace {

constexpr KeyCode space = 32, capsLock = 20, h = 'H', j = 'J', pageUp = 33, f5 = 116;
constexpr ModifierMask lCtrl = 1 << 2, shift = 1 << 8, win = 1 << 11;

// A hand-written profile: comments everywhere, odd spacing and spelling, LF
// line ends, a header in odd case. Every edit must leave all of it alone but
// the one line it rewrites.
constexpr std::string_view handWritten =
    "; my layers\r\n"
    "[program]\r\n"
    "  startup = 1\r\n"
    "Timing.0x20 = 120, 1 ,900\r\n"
    "# comment in program\r\n"
    "\r\n"
    "[ space ]\r\n"
    "  h =  pageup   \r\n"
    "; arrows\r\n"
    "i=lctrl + up\r\n"
    "\r\n"
    "   # trailing comment of space\r\n"
    "[CAPSLOCK]\r\n"
    "m = 0x01\r\n"
    "\r\n";

std::string withoutLine(std::string_view text, std::string_view line) {
  std::string out(text);
  const std::size_t at = out.find(line);
  EXPECT_NE(at, std::string::npos) << line;
  out.erase(at, line.size());
  return out;
}

std::string refusal(auto edit) {
  try {
    edit();
  } catch (const ValueError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(RowLine, WritesTokensInBitOrder) {
  EXPECT_EQ(rowLine(h, lCtrl | shift, pageUp), "H=LCtrl+Shift+PageUp");
  EXPECT_EQ(rowLine(0xA2, 0, 0xBC), "0xA2=0xBC");
  EXPECT_EQ(rowLine(f5, 0xFFF, 1),
            "F5=LShift+RShift+LCtrl+RCtrl+LAlt+RAlt+LWin+RWin+Shift+Ctrl+Alt+Win+0x01");
  EXPECT_EQ(sectionHeader(space), "[Space]");
  EXPECT_EQ(sectionHeader(255), "[MouseMove]");
  EXPECT_EQ(sectionHeader(0xBC), "[0xBC]");
}

TEST(EditRow, ChangesOnlyTheRowItRewrites) {
  // The row keeps its place; only it is in canonical form.
  std::string expected(handWritten);
  expected.replace(expected.find("  h =  pageup   "), 16, "H=LCtrl+Shift+PageUp");
  EXPECT_EQ(editRow(handWritten, space, h, h, pageUp, lCtrl | shift), expected);

  // Changing a row's source rewrites the same line.
  expected = handWritten;
  expected.replace(expected.find("i=lctrl + up"), 12, "J=Up");
  EXPECT_EQ(editRow(handWritten, space, 'I', j, 38, 0), expected);
}

TEST(EditRow, AddsARowAtTheEndOfItsSection) {
  // After the section's blank and comment lines, right before the next header.
  std::string expected(handWritten);
  expected.insert(expected.find("[CAPSLOCK]"), "F5=Win+0x01\r\n");
  EXPECT_EQ(editRow(handWritten, space, 0, f5, 1, win), expected);

  // In the last section the text keeps ending with its line break.
  expected = handWritten;
  expected += "J=Left\r\n";
  EXPECT_EQ(editRow(handWritten, capsLock, 0, j, 37, 0), expected);

  // A layer with no section yet gets its header and the row at the end.
  EXPECT_EQ(editRow(handWritten, 0xBC, 0, h, 1, 0),
            std::string(handWritten) + "[0xBC]\r\nH=0x01\r\n");
  EXPECT_EQ(editRow("[Space]\nH=Up", 255, 0, j, 1, 0), "[Space]\r\nH=Up\r\n[MouseMove]\r\nJ=0x01");
}

TEST(EditRow, RemovesOnlyTheRow) {
  EXPECT_EQ(editRow(handWritten, space, 'I', 0, 0, 0),
            withoutLine(handWritten, "i=lctrl + up\r\n"));
  // Lone CR and LF line ends come back as CR LF.
  EXPECT_EQ(editRow("[Space]\nH=Up\rJ=Left\n", space, h, 0, 0, 0), "[Space]\r\nJ=Left\r\n");
}

TEST(EditRow, RefusesAndChangesNothing) {
  qlnSetUiLanguage(english);
  // A new row, or a changed source, for a key that already has a row.
  EXPECT_EQ(refusal([] { editRow(handWritten, space, 0, h, 1, 0); }),
            "This key is already assigned.");
  EXPECT_EQ(refusal([] { editRow(handWritten, space, 'I', h, 1, 0); }),
            "This key is already assigned.");
  // The same key in another layer is fine.
  EXPECT_NO_THROW(editRow(handWritten, capsLock, 0, h, 1, 0));
  // The last row of a keyboard layer: the parser's message.
  EXPECT_EQ(refusal([] { editRow(handWritten, capsLock, 'M', 0, 0, 0); }), "Empty layer");
  // The mouse layer may go without rows.
  EXPECT_EQ(editRow("[Space]\r\nH=Up\r\n[MouseMove]\r\nJ=1\r\n", 255, j, 0, 0, 0),
            "[Space]\r\nH=Up\r\n[MouseMove]\r\n");
  qlnSetUiLanguage(russian);
  EXPECT_EQ(refusal([] { editRow(handWritten, space, 0, h, 1, 0); }), "Эта клавиша уже назначена.");
}

TEST(RemoveLayerDraft, DropsTheSectionAndItsTiming) {
  const std::string removed = removeLayerDraft(handWritten, space);
  EXPECT_EQ(removed,
            "; my layers\r\n"
            "[program]\r\n"
            "  startup = 1\r\n"
            "# comment in program\r\n"
            "\r\n"
            "[CAPSLOCK]\r\n"
            "m = 0x01\r\n"
            "\r\n");
  // The last section goes without taking the final line break.
  EXPECT_EQ(removeLayerDraft("[Space]\r\nH=Up\r\n[MouseMove]\r\nJ=1\r\n", 255),
            "[Space]\r\nH=Up\r\n");
  // Another layer's timing stays.
  const std::string timed = "[Program]\r\ntiming.capslock=1,0,500\r\nTiming.0x20=1,0,500\r\n" +
                            std::string("[Space]\r\nH=Up\r\n[CapsLock]\r\nM=1\r\n");
  EXPECT_EQ(removeLayerDraft(timed, capsLock),
            "[Program]\r\nTiming.0x20=1,0,500\r\n[Space]\r\nH=Up\r\n");
}

TEST(RemoveLayerDraft, RefusesALayerlessProfile) {
  EXPECT_EQ(refusal([] { removeLayerDraft("[Program]\r\n[Space]\r\nH=Up\r\n", space); }),
            "No layers defined");
}

TEST(TimingAndMouseDrafts, SetProgramOptions) {
  std::string expected(handWritten);
  expected.replace(expected.find("Timing.0x20 = 120, 1 ,900"), 25, "Timing.0x20=80,1,2000");
  EXPECT_EQ(timingDraft(handWritten, space, 80, true, 2000), expected);
  EXPECT_EQ(timingDraft("[Space]\r\nH=Up", 0xBC, 0, false, 500),
            "[Program]\r\nTiming.0xBC=0,0,500\r\n[Space]\r\nH=Up");
  EXPECT_EQ(mouseDraft("[Program]\r\nMouseOn=0x10\r\n[Space]\r\nH=Up\r\n", 650, true, 0, 0xA2),
            "[Program]\r\nMouseOff=0xA2\r\nMouseGuard=1\r\nMouseMs=650\r\nMouseOn=0\r\n"
            "[Space]\r\nH=Up\r\n");
}

TEST(ReadTime, DigitsWithinTheRange) {
  EXPECT_EQ(readTime("0", 0, 1000), 0);
  EXPECT_EQ(readTime("1000", 0, 1000), 1000);
  EXPECT_EQ(readTime("0650", 1, 600000), 650);
  for (std::string_view bad : {"", "1001", " 5", "5 ", "-1", "+5", "1e3", "0x10"})
    EXPECT_EQ(readTime(bad, 0, 1000), -1) << bad;
  EXPECT_EQ(readTime("0", 1, 600000), -1);
  EXPECT_EQ(readTime("99999999999999999999", 0, 1000), -1);
}

TEST(CheckTiming, DelayFirstThenHoldThenTheSavedHold) {
  using Refused = TimingCheck::Refused;
  struct Case {
    TimingInputs inputs;
    Refused refused;
    std::int64_t delay, hold;
    bool enabled;
  };
  const Case cases[] = {
      {{"1000", false, "20", 500}, Refused::none, 1000, 500, false},
      {{"1000", false, "20", 900}, Refused::none, 1000, 900, false},
      {{"1001", true, "1", 500}, Refused::delay, 0, 0, false},
      {{"", false, "700", 500}, Refused::delay, 0, 0, false},
      {{"5", true, "499", 500}, Refused::hold, 0, 0, false},
      {{"5", true, "5000", 500}, Refused::none, 5, 5000, true},
      {{"5", false, "777", 500}, Refused::none, 5, 777, false},
  };
  for (const Case& c : cases) {
    const TimingCheck check = checkTiming(c.inputs);
    EXPECT_EQ(check.refused, c.refused) << c.inputs.delay << "/" << c.inputs.hold;
    if (c.refused != Refused::none) continue;
    EXPECT_EQ(check.delay, c.delay);
    EXPECT_EQ(check.hold, c.hold);
    EXPECT_EQ(check.enabled, c.enabled);
  }
}

TEST(ListRows, LayersRowsAndModifiersInTextOrder) {
  const DraftListing listing = listRows(handWritten, 0, 0);
  EXPECT_EQ(listing.layers, (std::vector<KeyCode>{space, capsLock}));
  EXPECT_EQ(listing.selectedLayer, space);
  EXPECT_EQ(listing.rows, (std::vector<KeyCode>{h, 'I'}));
  EXPECT_EQ(listing.selectedSource, h);
  EXPECT_EQ(listing.bindings[h], (BindingRow{pageUp, 0}));
  EXPECT_EQ(listing.bindings['I'], (BindingRow{38, lCtrl}));
  EXPECT_EQ(listing.timing, (LayerTiming{120, true, 900}));
}

TEST(ListRows, SelectionSurvivesByKeyCode) {
  DraftListing listing = listRows(handWritten, capsLock, 'M');
  EXPECT_EQ(listing.rows, (std::vector<KeyCode>{'M'}));
  EXPECT_EQ(listing.selectedSource, 'M');
  EXPECT_EQ(listing.bindings[h], BindingRow{});
  EXPECT_EQ(listing.timing, LayerTiming{});
  // A layer only listed (no section yet) keeps its key and lists no rows.
  listing = listRows(handWritten, 0xBC, 0);
  EXPECT_EQ(listing.selectedLayer, 0xBC);
  EXPECT_TRUE(listing.rows.empty());
  EXPECT_EQ(listing.selectedSource, 0);
}

TEST(ListRows, ProgramInAnyCaseIsNoLayerAndAnEmptyMouseLayerIs) {
  const DraftListing listing =
      listRows("[PROGRAM]\nMouseMs=5\n[MouseMove]\n[Program]\n[Space]\nH=Up", 0, 0);
  EXPECT_EQ(listing.layers, (std::vector<KeyCode>{255, space}));
  EXPECT_EQ(listing.selectedLayer, 255);
  EXPECT_TRUE(listing.rows.empty());
  EXPECT_EQ(listing.layout.options.mouseMs, 5u);
}

TEST(ListRows, ARefusedDraftRaisesTheParserMessage) {
  EXPECT_EQ(refusal([] { listRows("[Space]\nH=Nowhere\n", 0, 0); }),
            "Line 2: Unknown key: Nowhere");
}

TEST(RowText, NamesModifiersAndTarget) {
  KeyNames names;
  names.names[h] = "H";
  names.names[pageUp] = "PageUp";
  EXPECT_EQ(rowText(names, h, {pageUp, lCtrl | shift}), "H\tL Ctrl + Shift + PageUp");
  EXPECT_EQ(rowText(names, h, {pageUp, 0}), "H\tPageUp");
}

TEST(EditAndList, TheDefaultProfileRoundTrips) {
  // Every row rewritten in place with its own values leaves a canonical
  // profile unchanged.
  const DraftListing listing = listRows(defaultProfile, space, 0);
  std::string text(defaultProfile);
  for (KeyCode source : listing.rows)
    text = editRow(text, space, source, source, listing.bindings[source].target,
                   listing.bindings[source].mask);
  EXPECT_EQ(text, defaultProfile);
}

}  // namespace
}  // namespace quillon
