// The code view control: properties, font rule, keys, mouse, scroll bars,
// clipboard and painting.
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>

#include "codeviewtest.h"

namespace {
QString NumberedLines(int n) {
  QStringList lines;
  for (int i = 1; i <= n; ++i) lines << QStringLiteral("line %1").arg(i);
  return lines.join("\r\n");
}

void Key(TmCustomEdit& e, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, int times = 1) {
  for (int i = 0; i < times; ++i) QTest::keyClick(&e, key, mods);
}

void Drag(TmCustomEdit& e, QPoint from, QPoint to) {
  QTest::mousePress(e.viewport(), Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(e.viewport(), (from + to) / 2);
  QTest::mouseMove(e.viewport(), to);
  QTest::mouseRelease(e.viewport(), Qt::LeftButton, Qt::NoModifier, to);
}

TEST(CodeView, DefaultsAndWindowMeasures) {
  TmCustomEdit e;
  EXPECT_EQ(e.width(), 200);
  EXPECT_EQ(e.height(), 150);
  EXPECT_EQ(e.GutterWidth(), 30);
  EXPECT_EQ(e.RightEdge(), 80);
  EXPECT_EQ(e.LeftChar(), 1);
  EXPECT_EQ(e.TopLine(), 1);
  EXPECT_TRUE(e.InsertMode());
  EXPECT_FALSE(e.ReadOnly());
  EXPECT_EQ(e.ScrollBars(), TmCustomEdit::TScrollStyle::Both);
  EXPECT_EQ(e.LineCount(), 0);
  EXPECT_EQ(e.Color(), e.palette().color(QPalette::Base));
  EXPECT_EQ(e.GutterColor(), e.palette().color(QPalette::Button));

  const QFontMetrics m(e.font());
  EXPECT_TRUE(FixedPitch(e.font()));
  EXPECT_EQ(e.CharWidth(), m.averageCharWidth());
  EXPECT_EQ(e.LineHeight(), m.height() + m.leading());
  EXPECT_EQ(e.LinesInWindow(), (150 - 4) / e.LineHeight());
  EXPECT_EQ(e.CharsInWindow(), (200 - 30 - 18) / e.CharWidth());
  e.SetScrollBars(TmCustomEdit::TScrollStyle::Horizontal);
  EXPECT_EQ(e.CharsInWindow(), (200 - 30 - 4) / e.CharWidth());
  EXPECT_EQ(e.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(e.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST(CodeView, ProportionalFontKeepsTheFixedPitchFace) {
  if (!QFontDatabase::families().contains("DejaVu Sans") ||
      !QFontDatabase::families().contains("DejaVu Sans Mono"))
    GTEST_SKIP() << "needs the DejaVu fonts";
  TmCustomEdit e;
  const int before = e.LineHeight();
  QFont proportional("DejaVu Sans");
  proportional.setPixelSize(30);
  proportional.setItalic(true);
  e.setFont(proportional);
  const QFontMetrics m(e.font());
  EXPECT_TRUE(FixedPitch(e.font()));
  EXPECT_NE(QFontInfo(e.font()).family(), "DejaVu Sans");
  EXPECT_EQ(e.font().pixelSize(), 30);
  EXPECT_TRUE(e.font().italic());
  EXPECT_GT(e.LineHeight(), before);
  EXPECT_EQ(e.CharWidth(), m.averageCharWidth());

  QFont fixed("DejaVu Sans Mono");
  fixed.setPixelSize(16);
  e.setFont(fixed);
  EXPECT_EQ(QFontInfo(e.font()).family(), "DejaVu Sans Mono");
  EXPECT_FALSE(e.font().italic());
  EXPECT_EQ(e.CharWidth(), QFontMetrics(fixed).averageCharWidth());
}

TEST(CodeView, KeywordsAreBoldWhereverDelimitersEndThem) {
  auto e = ShownEdit("begin(x)\r\nx=begin\r\nBEGIN;\r\nbeginx\r\nend.");
  e->SetWords({"begin", "END"});
  const QImage words = Rendered(*e);
  e->SetWords({});
  const QImage plain = Rendered(*e);
  // begin( is the keyword begin; so are BEGIN and end (matched without case).
  EXPECT_GT(InkInCells(words, *e, 1, 0, 5), InkInCells(plain, *e, 1, 0, 5) + 10);
  EXPECT_GT(InkInCells(words, *e, 3, 0, 5), InkInCells(plain, *e, 3, 0, 5) + 10);
  EXPECT_GT(InkInCells(words, *e, 5, 0, 3), InkInCells(plain, *e, 5, 0, 3) + 5);
  // "=" is no delimiter, and neither is a following letter.
  EXPECT_EQ(InkInCells(words, *e, 2, 0, 7), InkInCells(plain, *e, 2, 0, 7));
  EXPECT_EQ(InkInCells(words, *e, 4, 0, 6), InkInCells(plain, *e, 4, 0, 6));
  // Delimiters are never bold.
  EXPECT_EQ(InkInCells(words, *e, 1, 5, 8), InkInCells(plain, *e, 1, 5, 8));
}

TEST(CodeView, ReadOnlyRefusesTypingButNotEditingKeys) {
  auto e = ShownEdit("abc\r\ndef\r\nghi\r\njkl");
  e->SetReadOnly(true);
  e->SetCaretLine(1);
  e->SetCaretCol(2);  // column 1 (1-based argument)
  QTest::keyClicks(e.get(), "xyz");
  EXPECT_EQ(e->Text(), "abc\r\ndef\r\nghi\r\njkl");

  Key(*e, Qt::Key_Backspace);
  EXPECT_EQ(e->LineText(), "bc");
  Key(*e, Qt::Key_Delete);
  EXPECT_EQ(e->LineText(), "c");
  Key(*e, Qt::Key_End);
  Key(*e, Qt::Key_Return);
  EXPECT_EQ(e->LineCount(), 5);
  EXPECT_EQ(e->Caret(), (TTextPos{0, 2}));

  QGuiApplication::clipboard()->setText("P");
  Key(*e, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(e->LineText(), "P");
  EXPECT_EQ(e->Text(), "c\r\nP\r\ndef\r\nghi\r\njkl");
}

TEST(CodeView, TypingPadsOverwritesAndScrollsRight) {
  auto e = ShownEdit("ab\r\ncd");
  e->SetCaretCol(11);
  QTest::keyClicks(e.get(), "xy");
  EXPECT_EQ(e->LineText(), "ab        xy");
  EXPECT_EQ(e->Caret().Col, 12);
  Key(*e, Qt::Key_Insert);
  EXPECT_FALSE(e->InsertMode());
  e->SetCaretCol(1);
  QTest::keyClicks(e.get(), "AB");
  EXPECT_EQ(e->LineText(), "AB        xy");
  // Control characters are no text.
  QTest::keyClick(e.get(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(e->LineText(), "AB        xy");
  // Characters composed by an input method are typed too.
  QInputMethodEvent composed;
  composed.setCommitString(QString::fromUtf8("\u00e9"));
  QApplication::sendEvent(e.get(), &composed);
  EXPECT_EQ(e->LineText(), QString::fromUtf8("AB\u00e9       xy"));

  // Reaching the right side of the window scrolls 25 columns.
  e->SetCaretCol(e->CharsInWindow());
  QTest::keyClicks(e.get(), "q");
  EXPECT_EQ(e->LeftChar(), 26);
}

TEST(CodeView, ClickPutsTheCaretBeforeTheCellItHits) {
  auto e = ShownEdit("abcdef\r\nxyz");
  const int cw = e->CharWidth();
  const int y = e->LineHeight() / 2;
  const int cell2 = e->TextOriginX() + 2 * cw;
  QTest::mouseClick(e->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(cell2 + cw / 2 + 1, y));  // right half of "c"
  EXPECT_EQ(e->Caret(), (TTextPos{2, 1}));
  QTest::mouseClick(e->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(cell2 + 1, y));
  EXPECT_EQ(e->Caret(), (TTextPos{2, 1}));
  // Beyond the end of the line and below the last line.
  QTest::mouseClick(e->viewport(), Qt::LeftButton, Qt::NoModifier,
                    CellCentre(*e, 12, 1) + QPoint(0, 5 * e->LineHeight()));
  EXPECT_EQ(e->Caret(), (TTextPos{12, 2}));
  // In the gutter: column 0.
  QTest::mouseClick(e->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(3, y));
  EXPECT_EQ(e->Caret(), (TTextPos{0, 1}));
  // Scrolled: columns count from LeftChar; a right click moves the caret
  // without starting a selection.
  e->SetLeftChar(3);
  QTest::mouseClick(e->viewport(), Qt::RightButton, Qt::NoModifier, CellCentre(*e, 4, 1));
  EXPECT_EQ(e->Caret(), (TTextPos{4, 1}));
  EXPECT_EQ(e->SelAnchor(), (TTextPos{0, 1}));

  QTest::mouseMove(e->viewport(), QPoint(10, y));
  EXPECT_EQ(e->viewport()->cursor().shape(), Qt::ArrowCursor);
  QTest::mouseMove(e->viewport(), QPoint(100, y));
  EXPECT_EQ(e->viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST(CodeView, ReverseDragsSelectTheSameText) {
  auto e = ShownEdit("first line\r\nsecond\r\nthird line");
  Drag(*e, CellCentre(*e, 6, 1), CellCentre(*e, 5, 3));
  EXPECT_TRUE(e->SelectionActive());
  const QString down = e->SelectedText();
  EXPECT_EQ(down, "line\r\nsecond\r\nthird");
  EXPECT_EQ(e->Caret(), (TTextPos{5, 3}));
  Drag(*e, CellCentre(*e, 5, 3), CellCentre(*e, 6, 1));
  EXPECT_EQ(e->SelectedText(), down);
  EXPECT_EQ(e->Caret(), (TTextPos{6, 1}));

  Drag(*e, CellCentre(*e, 1, 2), CellCentre(*e, 4, 2));
  EXPECT_EQ(e->SelectedText(), "eco");
  Drag(*e, CellCentre(*e, 4, 2), CellCentre(*e, 1, 2));
  EXPECT_EQ(e->SelectedText(), "eco");
}

TEST(CodeView, ShiftKeysExtendTheSelection) {
  auto e = ShownEdit("abcdef\r\nxy\r\nlonger line");
  e->SetCaretCol(5);  // column 4
  Key(*e, Qt::Key_Right, Qt::ShiftModifier, 2);
  EXPECT_EQ(e->SelAnchor(), (TTextPos{4, 1}));
  EXPECT_EQ(e->SelectedText(), "ef");
  Key(*e, Qt::Key_Left);
  EXPECT_FALSE(e->SelectionActive());

  // Up and Down anchor within the line they leave.
  e->SetCaretCol(10);
  Key(*e, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(e->SelAnchor(), (TTextPos{6, 1}));
  EXPECT_EQ(e->SelEnd(), (TTextPos{9, 2}));
  EXPECT_EQ(e->SelectedText(), "\r\nxy");
  // Paging leaves the selection alone.
  Key(*e, Qt::Key_PageDown);
  EXPECT_TRUE(e->SelectionActive());
  EXPECT_EQ(e->SelEnd(), (TTextPos{9, 2}));
  // With a selection, Delete only deletes it.
  Key(*e, Qt::Key_Delete);
  EXPECT_EQ(e->Text(), "abcdef\r\nlonger line");
}

TEST(CodeView, VerticalKeysScrollByTheirRules) {
  auto e = ShownEdit(NumberedLines(100));
  e->resize(400, e->LineHeight() * 10 + 4);
  ASSERT_EQ(e->LinesInWindow(), 10);
  Key(*e, Qt::Key_Down, Qt::NoModifier, 8);
  EXPECT_EQ(e->Caret().Line, 9);
  EXPECT_EQ(e->TopLine(), 1);
  Key(*e, Qt::Key_Down);  // reaches TopLine + LinesInWindow - 1
  EXPECT_EQ(e->Caret().Line, 10);
  EXPECT_EQ(e->TopLine(), 2);
  Key(*e, Qt::Key_PageDown);
  EXPECT_EQ(e->Caret().Line, 20);
  EXPECT_EQ(e->TopLine(), 12);
  Key(*e, Qt::Key_Up, Qt::NoModifier, 7);
  EXPECT_EQ(e->Caret().Line, 13);
  EXPECT_EQ(e->TopLine(), 12);
  Key(*e, Qt::Key_Up);  // not greater than TopLine: scrolls up one
  EXPECT_EQ(e->Caret().Line, 12);
  EXPECT_EQ(e->TopLine(), 11);
  Key(*e, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(e->Caret(), (TTextPos{0, 100}));
  EXPECT_EQ(e->TopLine(), 100);
  Key(*e, Qt::Key_PageDown);
  EXPECT_EQ(e->Caret().Line, 100);
  Key(*e, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(e->Caret(), (TTextPos{0, 1}));
  EXPECT_EQ(e->TopLine(), 1);
  Key(*e, Qt::Key_Up);
  EXPECT_EQ(e->Caret().Line, 1);
  EXPECT_EQ(e->TopLine(), 1);
}

TEST(CodeView, HorizontalKeysWrapAndScroll) {
  const QString longLine(200, u'w');
  auto e = ShownEdit("ab cd(ef)\r\n" + longLine + "\r\nz");
  Key(*e, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(e->Caret().Col, 2);
  Key(*e, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(e->Caret().Col, 5);
  Key(*e, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(e->Caret().Col, 3);
  // Right goes one beyond the end, and from there to the next line.
  Key(*e, Qt::Key_End);
  Key(*e, Qt::Key_Right);
  EXPECT_EQ(e->Caret(), (TTextPos{10, 1}));
  Key(*e, Qt::Key_Right);
  EXPECT_EQ(e->Caret(), (TTextPos{0, 2}));
  // End of a long line scrolls it into view; Home scrolls back.
  Key(*e, Qt::Key_End);
  EXPECT_EQ(e->Caret().Col, 200);
  EXPECT_GT(e->LeftChar(), 1);
  EXPECT_LE(e->LeftChar() - 1, 200);
  EXPECT_LT(200, e->LeftChar() - 1 + e->CharsInWindow());
  Key(*e, Qt::Key_Home);
  EXPECT_EQ(e->LeftChar(), 1);
  // Left at column 0: the end of the line above, scrolled into view.
  Key(*e, Qt::Key_Down);
  Key(*e, Qt::Key_Left);
  EXPECT_EQ(e->Caret(), (TTextPos{200, 2}));
  EXPECT_GT(e->LeftChar(), 1);
  // Right from beyond the end of the line resets the view to column 1.
  Key(*e, Qt::Key_Right, Qt::NoModifier, 2);
  EXPECT_EQ(e->Caret(), (TTextPos{0, 3}));
  EXPECT_EQ(e->LeftChar(), 1);
}

TEST(CodeView, ScrollBarsFollowTheView) {
  auto e = ShownEdit(NumberedLines(50));
  QScrollBar* v = e->verticalScrollBar();
  QScrollBar* h = e->horizontalScrollBar();
  EXPECT_EQ(v->minimum(), 1);
  EXPECT_EQ(v->maximum(), 50);
  EXPECT_EQ(v->pageStep(), (e->viewport()->height() - 4) / e->LineHeight());
  EXPECT_EQ(h->minimum(), 1);
  EXPECT_EQ(h->maximum(), 1024);
  v->setValue(20);
  EXPECT_EQ(e->TopLine(), 20);
  v->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(e->TopLine(), 50);
  h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(e->LeftChar(), 2);
  e->SetTopLine(500);
  EXPECT_EQ(e->TopLine(), 50);
  e->SetLeftChar(2000);
  EXPECT_EQ(e->LeftChar(), 1024);
  EXPECT_EQ(h->value(), 1024);
  e->SetText("one\r\ntwo");
  EXPECT_EQ(v->maximum(), 2);
  EXPECT_EQ(e->TopLine(), 2);
}

TEST(CodeView, CopyAndPasteUseTheClipboardWithCrLf) {
  auto e = ShownEdit("first line\r\nsecond\r\nthird line");
  Drag(*e, CellCentre(*e, 6, 1), CellCentre(*e, 5, 3));
  Key(*e, Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "line\r\nsecond\r\nthird");
  EXPECT_TRUE(e->InsertMode()) << "Ctrl+Insert only copies";

  // Only text is pasted.
  auto* image = new QMimeData;
  image->setImageData(QImage(4, 4, QImage::Format_RGB32));
  QGuiApplication::clipboard()->setMimeData(image);
  e->PasteFromClipboard();
  EXPECT_EQ(e->Text(), "first line\r\nsecond\r\nthird line");

  QGuiApplication::clipboard()->setText("A\r\nB");
  Key(*e, Qt::Key_Home);  // drops the selection
  e->SetCaretLine(2);
  e->SetCaretCol(4);
  e->PasteFromClipboard();
  EXPECT_EQ(e->Text(), "first line\r\nsecA\r\nBond\r\nthird line");
  EXPECT_EQ(e->Caret(), (TTextPos{1, 3}));

  e->SelectAll();
  e->CopyToClipboard();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), e->Text());
}

TEST(CodeView, PaintsGutterGuideSelectionAndCaret) {
  auto e = ShownEdit("abcdef\r\nghijkl\r\nmnopqr\r\nstu");
  e->SetGutterColor(QColor(10, 200, 30));
  e->SetRightEdge(20);
  e->SetScrollBars(TmCustomEdit::TScrollStyle::None);
  QImage img = Rendered(*e);
  const int below = 6 * e->LineHeight();  // under the text
  const QPalette& pal = e->palette();
  EXPECT_EQ(img.pixel(5, below), qRgb(10, 200, 30));
  EXPECT_EQ(img.pixel(28, below), pal.color(QPalette::Light).rgb());
  EXPECT_EQ(img.pixel(29, below), pal.color(QPalette::Dark).rgb());
  EXPECT_EQ(img.pixel(30, below), pal.color(QPalette::Base).rgb());
  EXPECT_EQ(img.pixel(31, below), pal.color(QPalette::Base).rgb());
  const int guide = e->TextOriginX() + 20 * e->CharWidth();
  EXPECT_EQ(img.pixel(guide, below), qRgb(192, 192, 192));
  EXPECT_EQ(img.pixel(guide, 1), qRgb(192, 192, 192)) << "drawn over the lines too";
  EXPECT_EQ(img.pixel(guide + 1, 1), e->Color().rgb());

  // From column 2 of line 1 to column 3 of line 3: selected cells and the
  // bands of lines that start inside the selection are highlighted.
  Drag(*e, CellCentre(*e, 2, 1), CellCentre(*e, 3, 3));
  img = Rendered(*e);
  const QRgb hi = pal.color(QPalette::Highlight).rgb();
  auto at = [&](int col, int line) {
    return img.pixel(e->TextOriginX() + col * e->CharWidth(), (line - 1) * e->LineHeight() + 1);
  };
  EXPECT_NE(at(1, 1), hi);
  EXPECT_EQ(at(2, 1), hi);
  EXPECT_NE(at(10, 1), hi) << "line 1 starts before the selection";
  EXPECT_EQ(at(10, 2), hi);
  EXPECT_EQ(at(2, 3), hi);
  EXPECT_NE(at(4, 3), hi);
  EXPECT_NE(at(0, 4), hi);

  // The caret shows only with the focus, as an inverted bar.
  e->SetText("");
  e->SetCaretCol(1);
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(e.get(), &out);
  EXPECT_TRUE(e->CaretRect().isEmpty());
  QFocusEvent in(QEvent::FocusIn);
  QApplication::sendEvent(e.get(), &in);
  const QRect caret = e->CaretRect();
  ASSERT_FALSE(caret.isEmpty());
  EXPECT_EQ(caret.size(), QSize(2, e->LineHeight() - 2));
  EXPECT_EQ(caret.topLeft(), QPoint(e->TextOriginX(), 2));
  img = Rendered(*e);
  EXPECT_TRUE(IsInk(img, caret.left(), caret.center().y()));
  EXPECT_FALSE(IsInk(img, caret.right() + 1, caret.center().y()));
}

// Records the regions the view paints.
class TPaintLog : public QObject {
 public:
  QRegion Painted;
  bool eventFilter(QObject*, QEvent* ev) override {
    if (ev->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(ev)->region();
    return false;
  }
};

TEST(CodeView, TypingRepaintsOnlyTheChangedLine) {
  auto e = ShownEdit(NumberedLines(40));
  QFocusEvent in(QEvent::FocusIn);
  QApplication::sendEvent(e.get(), &in);
  e->SetCaretLine(5);
  e->SetCaretCol(3);
  QApplication::processEvents();
  TPaintLog log;
  e->viewport()->installEventFilter(&log);
  QTest::keyClicks(e.get(), "x");
  QApplication::processEvents();
  const int lh = e->LineHeight();
  ASSERT_FALSE(log.Painted.isEmpty());
  EXPECT_EQ(log.Painted.boundingRect().top(), 4 * lh);
  EXPECT_EQ(log.Painted.boundingRect().bottom(), 5 * lh - 1);

  // Enter moves the lines below: everything from the caret line down.
  log.Painted = QRegion();
  Key(*e, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(log.Painted.boundingRect().top(), 4 * lh);
  EXPECT_EQ(log.Painted.boundingRect().bottom(), e->viewport()->height() - 1);
  e->viewport()->removeEventFilter(&log);
}
}  // namespace
