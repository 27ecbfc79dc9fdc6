#include "common/AufklappListe.h"

namespace orve {

AufklappListe::AufklappListe(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
}

void AufklappListe::showPopup()
{
    emit aufklappen();
    QComboBox::showPopup();
}

} // namespace orve
