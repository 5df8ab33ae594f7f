#pragma once
// Our own sample packets: invented restaurant data (products, orders,
// reservations, events, stock, menu icons) written by this program's writer,
// one file for each form of packet the reader meets in the stores. The
// committed copies live in dados/fixtures (see the README there); the tests
// check that this code still writes exactly those bytes, and the program
// gerar_fixtures_pacote writes them again after a deliberate change.
#include <QByteArray>
#include <QList>
#include <QString>

namespace vesko::teste {

struct TFixture {
    QString nome;
    QByteArray bytes;
};

// Every generated fixture, in a fixed order. The XML fixtures are written by
// hand and are not among them.
QList<TFixture> GerarFixtures();

}  // namespace vesko::teste
