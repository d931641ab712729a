#pragma once
// Every modal question the program asks (message boxes, file dialogs, modal
// forms) goes through this one interface, so that tests can answer them by
// script and no test ever waits for a person.

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

class TModalQuestions {
 public:
  virtual ~TModalQuestions() = default;
  // A message box; returns the button chosen.
  virtual QMessageBox::StandardButton Ask(QWidget* parent, const QString& text,
                                          const QString& caption, QMessageBox::Icon icon,
                                          QMessageBox::StandardButtons buttons) = 0;
  // The open dialog with multiple selection; empty when cancelled.
  virtual QStringList OpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) = 0;
  // The save dialog (confirms overwriting); empty when cancelled.
  virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) = 0;
  // Shows a modal form until it is closed; returns its result code.
  virtual int ShowModal(QDialog* form);
  // A message box with buttons of the given captions; returns the index of
  // the one chosen, -1 when the box was closed without a choice.
  virtual int Choose(QWidget* parent, const QString& text, const QString& caption,
                     QMessageBox::Icon icon, const QStringList& buttons);
};

// The questions in use: the real dialogs unless a replacement was set.
TModalQuestions& Questions();
// Replaces the questions (not owned); null restores the real dialogs.
void SetQuestions(TModalQuestions* q);

// The editor's own caption for its message boxes.
inline const char* const EditorCaption = "Block-diagram editor.";
