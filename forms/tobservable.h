#pragma once
// The windows' state outside the widgets: a plain object (the place, the search session, the
// settings) together with the one change notification that the windows observe. The object's
// rules stay in its own class; whoever changes it calls NotifyChanged once the change is whole.

#include <QObject>

class TChangeNotifier : public QObject {
  Q_OBJECT

 public:
  void NotifyChanged() { Q_EMIT Changed(); }

 Q_SIGNALS:
  void Changed();
};

template <class T>
class TObservable : public TChangeNotifier, public T {};
