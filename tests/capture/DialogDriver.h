#pragma once
// Driving the capture tools' modal dialogs from a test: act on a dialog once it is shown (its
// exec() runs its own event loop), and press its buttons by name.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Runs `act` on the modal dialog of type D as soon as it is shown.
template <class D> void WhenShown(std::function<void(D*)> act)
{
    // The pending timer holds the attempt; the attempt itself holds only a weak reference, so
    // that it is freed once it has acted or given up.
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [act, weak = std::weak_ptr<std::function<void(int)>>(attempt)](int left) {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            act(d);
        } else if (auto self = weak.lock(); self && left > 0) {
            QTimer::singleShot(20, [self, left] { (*self)(left - 1); });
        }
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(250); });
}

template <class W> void Click(W* window, const char* name)
{
    auto* button = window->template findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}
