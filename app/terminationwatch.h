#pragma once
// Turns the signals that end a desktop session's programs (SIGTERM, SIGHUP,
// SIGINT) into a Qt signal on the event loop, so the editor can keep its
// unsaved work before it goes instead of dying at once.

#include <QObject>

class QSocketNotifier;

class TTerminationWatch : public QObject {
  Q_OBJECT

 public:
  explicit TTerminationWatch(QObject* parent = nullptr);
  ~TTerminationWatch() override;
  bool IsWatching() const { return notifier_ != nullptr; }

 signals:
  void TerminationRequested(int signalNumber);

 private:
  void Read();
  QSocketNotifier* notifier_ = nullptr;
};
