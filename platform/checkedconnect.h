#pragma once
// Every signal connection of a window goes through BIBLE_CONNECT, so that a connection that did
// not take (a wrong overload, a destroyed object) stops the program at once instead of leaving
// a dead control.

#include <QObject>
#include <QtGlobal>

#define BIBLE_CONNECT(sender, signal, receiver, ...)                                  \
  do {                                                                                \
    if (!QObject::connect(sender, signal, receiver, __VA_ARGS__))                     \
      qFatal("connect failed: %s %s at %s:%d", #sender, #signal, __FILE__, __LINE__); \
  } while (false)
