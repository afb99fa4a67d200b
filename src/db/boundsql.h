// SQL text with "?" placeholders and the values bound to them, in order.
#pragma once

#include <QString>
#include <QVariantList>

namespace db {

struct BoundSql {
    QString sql;
    QVariantList values;
};

}  // namespace db
