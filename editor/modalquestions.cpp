#include "editor/modalquestions.h"

#include <QDialog>
#include <QFileDialog>
#include <QRegularExpression>
#include <QPushButton>

namespace {
class TRealQuestions : public TModalQuestions {
 public:
  QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                  QMessageBox::Icon icon,
                                  QMessageBox::StandardButtons buttons) override {
    QMessageBox box(icon, caption, text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
  }
  QStringList OpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                            const QString& filter) override {
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
  }
  QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override {
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets the first filter's one.
    static const QRegularExpression firstExtension(QStringLiteral("\\(\\*\\.(\\w+)"));
    const QRegularExpressionMatch m = firstExtension.match(filter);
    if (m.hasMatch()) dialog.setDefaultSuffix(m.captured(1));
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.selectedFiles().value(0);
  }
};

TRealQuestions g_real;
TModalQuestions* g_current = nullptr;
}  // namespace

int TModalQuestions::ShowModal(QDialog* form) { return form ? form->exec() : QDialog::Rejected; }

int TModalQuestions::Choose(QWidget* parent, const QString& text, const QString& caption,
                            QMessageBox::Icon icon, const QStringList& buttons) {
  QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
  QList<QAbstractButton*> added;
  for (const QString& b : buttons) added.append(box.addButton(b, QMessageBox::AcceptRole));
  box.exec();
  return int(added.indexOf(box.clickedButton()));
}

TModalQuestions& Questions() { return g_current ? *g_current : g_real; }
void SetQuestions(TModalQuestions* q) { g_current = q; }
