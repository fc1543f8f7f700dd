#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace kdtest {

// The control named `name` under `root`; a missing one fails the test and gives nullptr.
template <typename T>
T* child(QWidget& root, const char* name) {
    T* c = root.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// Replaces a line edit's text by typing, as the user does.
inline void type(QWidget& root, const char* name, const QString& text) {
    auto* e = child<QLineEdit>(root, name);
    e->selectAll();
    e->del();
    QTest::keyClicks(e, text);
}

inline void click(QWidget& root, const char* name) {
    child<QPushButton>(root, name)->click();
}

} // namespace kdtest
