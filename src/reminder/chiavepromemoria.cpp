// The reminder key's values.
#include "reminder/chiavepromemoria.h"

QVariantList ChiavePromemoria::valori() const {
    return {cliente, data, azione};
}
