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

// The receiver of a window's connections to its own handlers, held as the window's member: the
// connections end once the window's destructor has run, before its base class deletes the
// children, whose last signals (a frame's subWindowActivated, a tab widget losing its pages) would
// otherwise reach a half-destroyed window.
class TConnections : public QObject {};
