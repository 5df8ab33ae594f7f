#pragma once
// Test support for the POS database: the Firebird client's test program
// directory (ApoioFirebird.h), with VESKO.GDB given the POS schema by the
// store's schema check.
#include <QString>

#include "ApoioFirebird.h"
#include "firebird/ConexaoFirebird.h"
#include "store/DmInstala.h"

namespace vesko::teste {

class AmbienteBanco : public AmbienteFirebird {
public:
    // `banco`: create VESKO.GDB (empty, WIN1252); `esquema`: with the POS schema.
    explicit AmbienteBanco(bool banco = true, bool esquema = true) : AmbienteFirebird(false) {
        if (banco) CriarBanco(esquema);
    }

    void CriarBanco(bool esquema, const QString& banco = QString()) const {
        TConexaoFirebird c(Parametros(banco));
        c.CriarBanco(false);  // tests do without forced writes
        if (esquema) TDmInstala().VerificaTables(true, c);
        c.Desconectar();
    }
};

}  // namespace vesko::teste
