#pragma once
// A fixture for tests that write audit records: a program folder of their
// own and the clock stopped at one moment of a fixed day.
#include <gtest/gtest.h>

#include <QDateTime>

#include "TestSupport.h"
#include "base/Relogio.h"
#include "platform/DiretorioPrograma.h"

namespace vesko::teste {

class DiaDeAuditoria : public ::testing::Test {
protected:
    void SetUp() override {
        DefinirDiretorioPrograma(pasta.Caminho());
        Relogio::Definir([this] { return agora; });
    }
    void TearDown() override {
        Relogio::Definir({});
        DefinirDiretorioPrograma(QString());
    }
    PastaTemporaria pasta;
    QDateTime agora{QDate(2026, 12, 7), QTime(10, 15, 30)};
};

}  // namespace vesko::teste
