// A caption that acts as a link: underlined dark blue text that reports a
// click, and that takes no focus, so clicking it leaves the focus where it was.
#pragma once

#include <QLabel>

namespace brinevar {

class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool pressed_ = false;
};

} // namespace brinevar
