#pragma once
// The sales step's selection: the closed sales and cancellations still to be
// sent (new, changed or cancelled after they were sent), with the values the
// step binds. The benchmark times the same statement.
#include <QString>

namespace vesko {

class TParams;

const QString& SqlSelecaoVendas();
void PreencherParametrosSelecaoVendas(TParams& params);

}  // namespace vesko
