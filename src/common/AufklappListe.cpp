#include "common/AufklappListe.h"

namespace orve {

AufklappListe::AufklappListe(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    // Inline completion would turn a typed "2" into the first entry starting with it.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
}

void AufklappListe::showPopup()
{
    emit aufklappen();
    QComboBox::showPopup();
}

} // namespace orve
