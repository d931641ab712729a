#pragma once
// "&Export" > "to graphic file": the active diagram written as a picture.
// The save dialog offers the formats of the export library (bound from the
// program's folder at start) and PNG, SVG and PDF, which the program writes
// itself; the picture is drawn at the document's scale.

#include <QString>
#include <QStringList>

#include "app/exportbinding.h"
#include "app/pictureexport.h"

class TActionRegistry;
class TChildD;
class TMainForm;

class TExportCommands {
 public:
  TExportCommands(TMainForm& form, TActionRegistry& actions);

  // Binds libvexolant.so from the program's folder (at start, after the
  // plug-ins and templates); without it only PNG, SVG and PDF are offered.
  void BindLibrary();
  const TExportBinding& Binding() const { return binding_; }
  // Why the library is not bound (empty when it is).
  const QString& BindingError() const { return bindingError_; }

  // The dialog's file types: the library's pairs, then PNG, SVG and PDF.
  QStringList NameFilters() const;
  void ExportGraphic1Click();
  // Writes doc's diagram to fileName as the file type at filterIndex of
  // NameFilters (a name without extension gets the type's), offering a
  // smaller scale when the picture is too large; true when written.
  bool ExportDocument(TChildD* doc, QString fileName, int filterIndex);

 private:
  struct TChoice {
    QString Filter;     // the dialog's name filter
    QString Extension;  // ".gif"
    TPictureKind Kind;
    int LibraryFormat;
  };
  QList<TChoice> Choices() const;

  TMainForm& form_;
  TExportBinding binding_;
  QString bindingError_;
};
