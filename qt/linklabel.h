// A caption that acts as a link: underlined dark blue text that reports a
// click, and that takes no focus, so clicking it leaves the focus where it was.
// Its access key, Alt and a letter anywhere in its window, clicks it too,
// equally without moving the focus (the underline of the whole text leaves
// none to mark the letter).
#pragma once

#include <QKeySequence>
#include <QLabel>

namespace brinevar {

class LinkLabel : public QLabel {
    Q_OBJECT

public:
    // `accessKey`: a capital letter, or 0 for none.
    LinkLabel(const QString &text, char accessKey, QWidget *parent = nullptr);

    // Alt and the letter, or empty.
    QKeySequence accessKey() const { return accessKey_; }

signals:
    void clicked();

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool pressed_ = false;
    QKeySequence accessKey_;
    int shortcut_ = 0;
};

} // namespace brinevar
