// The editing rules of the code view's text: typing, Backspace, Enter,
// Delete, the selection and pasting.
#include "pascal/gui/edittext.h"

#include <gtest/gtest.h>

#include <random>

namespace {
TEditText Text(const QStringList& lines, int col, int line) {
  TEditText t;
  t.SetLines(lines);
  t.SetCaret({col, line});
  return t;
}

TEST(EditText, TypingPadsInsertsAndOverwrites) {
  TEditText t = Text({"ab"}, 5, 1);
  t.TypeChar(u'x');
  EXPECT_EQ(t.Line(1), "ab   x");
  EXPECT_EQ(t.Caret(), (TTextPos{6, 1}));

  t.SetCaretCol(1);
  t.TypeChar(u'y');
  EXPECT_EQ(t.Line(1), "ayb   x");

  t.ToggleInsertMode();
  t.SetCaretCol(0);
  t.TypeChar(u'Z');
  EXPECT_EQ(t.Line(1), "Zyb   x");
  t.SetCaretCol(7);
  t.TypeChar(u'!');  // at the end overwriting appends
  EXPECT_EQ(t.Line(1), "Zyb   x!");

  // A selection is replaced by the typed character.
  t.ToggleInsertMode();
  t.StartSelection({1, 1});
  t.SetSelEnd({3, 1});
  t.TypeChar(u'-');
  EXPECT_EQ(t.Line(1), "Z-   x!");
  EXPECT_FALSE(t.SelectionActive());

  // An empty text gets its first line.
  TEditText e;
  e.TypeChar(u'q');
  EXPECT_EQ(e.Lines(), QStringList{"q"});
}

TEST(EditText, BackspaceOnEmptyLinesAndBeyondTheEnd) {
  TEditText t = Text({"a", "", "b"}, 0, 2);
  t.Backspace();  // empty line at column 0: deleted
  EXPECT_EQ(t.Lines(), (QStringList{"a", "b"}));

  t = Text({"a", "", "b"}, 4, 2);
  t.Backspace();  // empty line beyond column 0: back to column 0 only
  EXPECT_EQ(t.Lines(), (QStringList{"a", "", "b"}));
  EXPECT_EQ(t.Caret(), (TTextPos{0, 2}));

  t = Text({"abc"}, 6, 1);
  t.Backspace();  // beyond the end: one column left, nothing deleted
  EXPECT_EQ(t.Line(1), "abc");
  EXPECT_EQ(t.Caret().Col, 5);

  t = Text({"abc", "def"}, 0, 2);
  t.Backspace();  // column 0: joined to the previous line
  EXPECT_EQ(t.Lines(), QStringList{"abcdef"});
  EXPECT_EQ(t.Caret(), (TTextPos{3, 1}));

  t = Text({"abc"}, 0, 1);
  t.Backspace();  // column 0 of the first line: nothing
  EXPECT_EQ(t.Lines(), QStringList{"abc"});

  t = Text({"abc"}, 2, 1);
  t.Backspace();
  EXPECT_EQ(t.Line(1), "ac");
  EXPECT_EQ(t.Caret().Col, 1);
}

TEST(EditText, BackspaceUnindentsToTheLineAbove) {
  // The nearest line above with less indentation decides.
  TEditText t = Text({"begin", "  if", "    x", "      y"}, 6, 4);
  t.Backspace();
  EXPECT_EQ(t.Line(4), "    y");
  EXPECT_EQ(t.Caret().Col, 4);

  // Inside the indentation (not at its end) one blank goes.
  t = Text({"begin", "      y"}, 3, 2);
  t.Backspace();
  EXPECT_EQ(t.Line(2), "     y");
  EXPECT_EQ(t.Caret().Col, 2);

  // The first line is never examined: on line 2 the indentation goes.
  t = Text({"", "    y"}, 4, 2);
  t.Backspace();
  EXPECT_EQ(t.Line(2), "y");
  EXPECT_EQ(t.Caret().Col, 0);

  // None of the examined lines has less: the last one examined (line 2)
  // decides, and with the same indentation nothing changes.
  t = Text({"x", "  a", "  b", "  c"}, 2, 4);
  t.Backspace();
  EXPECT_EQ(t.Line(4), "  c");
  EXPECT_EQ(t.Caret().Col, 2);

  // Tabs and other control characters count as blanks.
  t = Text({"x", "a", "\t\tb"}, 2, 3);
  t.Backspace();
  EXPECT_EQ(t.Line(3), "b");
}

TEST(EditText, EnterSplitsAndIndents) {
  // Inside the text, past the indentation: split, new line indented alike.
  TEditText t = Text({"  a := b"}, 4, 1);
  t.Enter();
  EXPECT_EQ(t.Lines(), (QStringList{"  a ", "  := b"}));
  EXPECT_EQ(t.Caret(), (TTextPos{2, 2}));

  // At or beyond the end: an empty line below, the caret at the indentation.
  t = Text({"    x", "y"}, 9, 1);
  t.Enter();
  EXPECT_EQ(t.Lines(), (QStringList{"    x", "", "y"}));
  EXPECT_EQ(t.Caret(), (TTextPos{4, 2}));

  // Column 0: the line moves down whole.
  t = Text({"abc"}, 0, 1);
  t.Enter();
  EXPECT_EQ(t.Lines(), (QStringList{"", "abc"}));
  EXPECT_EQ(t.Caret(), (TTextPos{0, 2}));

  // Inside the indentation: the line moves down, the caret keeps its column.
  t = Text({"    abc"}, 2, 1);
  t.Enter();
  EXPECT_EQ(t.Lines(), (QStringList{"", "    abc"}));
  EXPECT_EQ(t.Caret(), (TTextPos{2, 2}));

  // An empty line: an empty line goes in before it; the caret takes the
  // indentation of the nearest non-empty line above (never line 1's).
  t = Text({"x", "   y", ""}, 0, 3);
  t.Enter();
  EXPECT_EQ(t.Lines(), (QStringList{"x", "   y", "", ""}));
  EXPECT_EQ(t.Caret(), (TTextPos{3, 4}));
  t = Text({"   x", ""}, 0, 2);
  t.Enter();
  EXPECT_EQ(t.Caret(), (TTextPos{0, 3}));

  // With a selection Enter only deletes it.
  t = Text({"abcdef"}, 0, 1);
  t.StartSelection({1, 1});
  t.SetSelEnd({3, 1});
  t.Enter();
  EXPECT_EQ(t.Lines(), QStringList{"adef"});
}

TEST(EditText, DeleteJoinsOnlyWithTwoLinesBelow) {
  TEditText t = Text({"abc", "d", "e"}, 1, 1);
  t.DeleteKey();
  EXPECT_EQ(t.Line(1), "ac");

  t = Text({"ab", "cd", "ef"}, 4, 1);
  t.DeleteKey();  // padded up to the caret, then joined
  EXPECT_EQ(t.Lines(), (QStringList{"ab  cd", "ef"}));

  t = Text({"ab", "cd", "ef"}, 2, 2);
  t.DeleteKey();  // the second-to-last line keeps the last one
  EXPECT_EQ(t.Lines(), (QStringList{"ab", "cd", "ef"}));
  t.SetCaret({2, 3});
  t.DeleteKey();
  EXPECT_EQ(t.Lines(), (QStringList{"ab", "cd", "ef"}));
}

TEST(EditText, SelectionTextIsTheSameInBothDirections) {
  TEditText t = Text({"first line", "second", "third line"}, 0, 1);
  t.StartSelection({6, 1});
  t.SetSelEnd({5, 3});
  const QString forward = t.SelectedText();
  EXPECT_EQ(forward, "line\r\nsecond\r\nthird");
  t.StartSelection({5, 3});
  t.SetSelEnd({6, 1});
  EXPECT_EQ(t.SelectedText(), forward);

  t.StartSelection({8, 2});
  t.SetSelEnd({2, 2});
  EXPECT_EQ(t.SelectedText(), "cond");
  t.SetSelEnd({20, 2});  // beyond the end: up to the end only
  EXPECT_EQ(t.SelectedText(), "");

  t.DropSelection();
  EXPECT_EQ(t.SelectedText(), "");
}

TEST(EditText, DeleteSelectionJoinsTheEnds) {
  TEditText t = Text({"first line", "second", "third line"}, 0, 1);
  t.StartSelection({5, 3});
  t.SetSelEnd({6, 1});
  t.DeleteSelection();
  EXPECT_EQ(t.Lines(), (QStringList{"first  line"}));
  EXPECT_EQ(t.Caret(), (TTextPos{6, 1}));
  EXPECT_FALSE(t.SelectionActive());

  t = Text({"abcdef"}, 0, 1);
  t.StartSelection({4, 1});
  t.SetSelEnd({1, 1});
  t.DeleteSelection();
  EXPECT_EQ(t.Line(1), "aef");
  EXPECT_EQ(t.Caret(), (TTextPos{1, 1}));
}

TEST(EditText, PasteSplitsAtLineBreaks) {
  TEditText t = Text({"abcd"}, 2, 1);
  t.InsertText("XY");
  EXPECT_EQ(t.Line(1), "abXYcd");
  EXPECT_EQ(t.Caret(), (TTextPos{4, 1}));

  t = Text({"abcd", "z"}, 2, 1);
  t.InsertText("one\r\ntwo\r\nthree");
  EXPECT_EQ(t.Lines(), (QStringList{"abone", "two", "threecd", "z"}));
  EXPECT_EQ(t.Caret(), (TTextPos{5, 3}));

  // Line feeds alone break lines too; a final break leaves the rest at
  // column 0 of a line of its own.
  t = Text({"abcd"}, 2, 1);
  t.InsertText("x\n");
  EXPECT_EQ(t.Lines(), (QStringList{"abx", "cd"}));
  EXPECT_EQ(t.Caret(), (TTextPos{0, 2}));

  // Beyond the end the line is padded first.
  t = Text({"ab"}, 4, 1);
  t.InsertText("c");
  EXPECT_EQ(t.Line(1), "ab  c");

  // A selection is replaced.
  t = Text({"abcd"}, 0, 1);
  t.StartSelection({1, 1});
  t.SetSelEnd({3, 1});
  t.InsertText("--");
  EXPECT_EQ(t.Line(1), "a--d");
}

TEST(EditText, SelectAllCoversTheWholeText) {
  TEditText t = Text({"begin", "  x := 1;", "end;"}, 3, 2);
  t.SelectAll();
  EXPECT_EQ(t.SelectedText(), t.Text());
  EXPECT_EQ(t.SelAnchor(), (TTextPos{0, 1}));
  EXPECT_EQ(t.SelEnd(), (TTextPos{4, 3}));
  t.DeleteSelection();
  EXPECT_EQ(t.Lines(), QStringList{""});
}

TEST(EditText, WordMovesStopAtDelimiters) {
  TEditText t = Text({"if (a=b) then x;"}, 16, 1);
  EXPECT_EQ(t.WordLeftCol(), 14);  // start of x
  t.SetCaretCol(14);
  EXPECT_EQ(t.WordLeftCol(), 9);  // start of then
  t.SetCaretCol(8);
  EXPECT_EQ(t.WordLeftCol(), 4);  // a=b is one word
  t.SetCaretCol(0);
  EXPECT_EQ(t.WordRightCol(), 2);  // just after if
  t.SetCaretCol(2);
  EXPECT_EQ(t.WordRightCol(), 7);  // over " (" and a=b
  t.SetCaretCol(30);
  EXPECT_EQ(t.WordLeftCol(), 14);  // beyond the end counts as blank
  EXPECT_EQ(t.WordRightCol(), 30);
}

TEST(EditText, TextSplitsAndJoinsWithCrLf) {
  EXPECT_EQ(TEditText::SplitLines("a\r\nb\nc\rd\r\n"), (QStringList{"a", "b", "c", "d"}));
  EXPECT_EQ(TEditText::SplitLines("a\r\n\r\nb"), (QStringList{"a", "", "b"}));
  EXPECT_TRUE(TEditText::SplitLines("").isEmpty());
  TEditText t;
  t.SetLines({"a", "", "b"});
  EXPECT_EQ(t.Text(), "a\r\n\r\nb");
  EXPECT_EQ(TEditText::LeadingBlanks("  \t x"), 4);
  for (QChar c : QString(" !\"(),.:;")) EXPECT_TRUE(TEditText::IsDelimiter(c)) << int(c.unicode());
  for (QChar c : QString("=\t[]+-'a")) EXPECT_FALSE(TEditText::IsDelimiter(c)) << int(c.unicode());
}
}  // namespace

namespace {
// Random keys, typing, selections and pastes on random short texts: no
// operation may reach outside the lines, and the caret stays on one of them.
TEST(EditText, RandomEditingStaysInsideTheText) {
  std::mt19937 rng(12345);
  auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  const QString alphabet = " \t(a;b:=c)\r\n";
  for (int round = 0; round < 300; ++round) {
    TEditText t;
    QStringList lines;
    for (int i = pick(4); i > 0; --i) lines << QString(pick(6), u' ') + "x := y;";
    t.SetLines(lines);
    for (int step = 0; step < 40; ++step) {
      switch (pick(9)) {
        case 0:
          t.TypeChar(alphabet[pick(9)]);
          break;
        case 1:
          t.Backspace();
          break;
        case 2:
          t.Enter();
          break;
        case 3:
          t.DeleteKey();
          break;
        case 4:
          t.SetCaret({pick(12) - 2, pick(8) - 2});
          break;
        case 5:
          t.StartSelection({pick(12), pick(8) - 1});
          t.SetSelEnd({pick(12), pick(8) - 1});
          break;
        case 6: {
          QString s;
          for (int i = pick(8); i > 0; --i) s += alphabet[pick(alphabet.size())];
          t.InsertText(s);
          break;
        }
        case 7:
          t.DeleteSelection();
          break;
        default:
          t.ToggleInsertMode();
          break;
      }
      ASSERT_GE(t.Caret().Line, 1);
      ASSERT_LE(t.Caret().Line, std::max(1, t.LineCount()));
      ASSERT_GE(t.Caret().Col, 0);
      (void)t.SelectedText();
      (void)t.WordLeftCol();
      (void)t.WordRightCol();
    }
    t.SelectAll();
    EXPECT_EQ(t.SelectedText(), t.Text());
  }
}
}  // namespace
