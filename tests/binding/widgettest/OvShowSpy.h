// Looks at every window of one kind as it is shown, before its own show
// handling runs (a wait window's timer, say), wherever in the program it is
// opened and however deep in modal loops.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>

#include <functional>

namespace ovtest {

template <typename Window> class ShowSpy : public QObject {
public:
    explicit ShowSpy(std::function<void(Window&)> look) : look_(std::move(look)) {
        QApplication::instance()->installEventFilter(this);
    }
    ~ShowSpy() override { QApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* window = qobject_cast<Window*>(watched))
                look_(*window);
        return false;
    }

private:
    std::function<void(Window&)> look_;
};

} // namespace ovtest
