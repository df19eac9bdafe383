#pragma once
// The six pictures of the dictionary window's tool bar, drawn in code: 0 previous word, 1 next
// word, 2 other article, 3 back (previous article), 4 illustration, 5 change of dictionary.

#include <QIcon>

QIcon DictionaryToolIcon(int image);
