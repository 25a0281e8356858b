#pragma once

#include <QLabel>

namespace tavio {

// The magazine's logo: its address as hint, a click opens it in the browser.
class PublisherLogo final : public QLabel
{
    Q_OBJECT
public:
    explicit PublisherLogo(QWidget* parent = nullptr);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace tavio
