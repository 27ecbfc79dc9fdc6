#pragma once

#include <QComboBox>

namespace orve {

// A drop-down list whose entries are filled afresh each time it opens:
// aufklappen() is emitted before the list shows, so a slot can refill it.
// The text part takes typing; typed text is not added to the list and is
// not completed from the entries: "2" stays 2, it never becomes "21  |  …".
class AufklappListe : public QComboBox {
    Q_OBJECT
public:
    explicit AufklappListe(QWidget* parent = nullptr);
    void showPopup() override;

signals:
    void aufklappen();
};

} // namespace orve
