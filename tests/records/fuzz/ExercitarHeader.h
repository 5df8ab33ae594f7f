#pragma once
// Reads arbitrary bytes as a sale header file, from disk and from memory.
// Our own exceptions are the expected answer to bad input; then the record
// must be left cleared. A record that loads must hold the bytes given, read
// every field (every payment entry too) without raising, keep its text
// fields when they are written back, and load again from the file it writes.
// Returns an empty text, or what did not hold.
#include "base/Excecoes.h"
#include "records/VendaHeader.h"

#include <QFile>
#include <QString>

namespace vesko::teste {

namespace header_fuzz {

inline bool Gravar(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Reads the field `d` moved by `desvio`; a text field is written back with
// what it read, which must read the same. Empty text when all held.
inline QString LerCampo(TVendaHeader& h, const TDescricaoCampo& d, int desvio) {
    const int o = d.Offset + desvio;
    switch (d.Tipo) {
    case TTipoCampoRegistro::Byte: (void)h.Valor(TCampoByte{o}); break;
    case TTipoCampoRegistro::Booleano: (void)h.Valor(TCampoBooleano{o}); break;
    case TTipoCampoRegistro::Inteiro: (void)h.Valor(TCampoInteiro{o}); break;
    case TTipoCampoRegistro::Real: (void)h.Valor(TCampoReal{o}); break;
    case TTipoCampoRegistro::Moeda: (void)h.Valor(TCampoMoeda{o}); (void)h.ValorBruto(TCampoMoeda{o}); break;
    case TTipoCampoRegistro::Texto:
    case TTipoCampoRegistro::Constante: {
        const TCampoTexto c{o, d.Largura};
        const QString v = h.Valor(c);
        h.Definir(c, v);
        if (h.Valor(c) != v) return QStringLiteral("o campo %1 (offset %2) mudou ao ser regravado").arg(d.Nome).arg(o);
        break;
    }
    case TTipoCampoRegistro::TextoLongo: {
        const TCampoTextoLongo c{o, d.Largura};
        const QString v = h.Valor(c);
        h.Definir(c, v);
        if (h.Valor(c) != v) return QStringLiteral("o campo %1 (offset %2) mudou ao ser regravado").arg(d.Nome).arg(o);
        break;
    }
    }
    return {};
}

inline QString LerTudo(TVendaHeader& h) {
    for (const TDescricaoCampo& d : TVendaHeader::Campos())
        if (QString f = LerCampo(h, d, 0); !f.isEmpty()) return f;
    for (int i = 0; i < TVendaHeader::MaxRecebimentos; ++i)
        for (const TDescricaoCampo& d : TVendaHeader::CamposRecebimento())
            if (QString f = LerCampo(h, d, TVendaHeader::InicioRecebimentos + i * TVendaHeader::TamanhoRecebimento);
                !f.isEmpty())
                return f;
    return {};
}

}  // namespace header_fuzz

// `pasta` is a writable folder; two files are written inside it.
inline QString ExercitarHeader(const QByteArray& bytes, const QString& pasta) {
    using namespace header_fuzz;
    const QString arquivo = pasta + QStringLiteral("/HDoc.dat");
    if (!Gravar(arquivo, bytes)) return QStringLiteral("não gravou o arquivo de teste");
    const QByteArray vazio = TVendaHeader().Bytes();

    TVendaHeader doArquivo, daMemoria;
    daMemoria.Definir(TVendaHeader::IdMovimento, 99);  // a stale record must be cleared on failure
    doArquivo.Definir(TVendaHeader::IdMovimento, 99);
    bool okArquivo = true, okMemoria = true;
    try {
        TLeituraVendaHeaderCorvane::GetVendaHeader(arquivo, doArquivo);
    } catch (const Exception&) {
        okArquivo = false;
        if (doArquivo.Bytes() != vazio) return QStringLiteral("registro não foi limpo após erro de leitura do arquivo");
    }
    try {
        TLeituraVendaHeaderCorvane::GetVendaHeader(QByteArrayView(bytes), daMemoria);
    } catch (const Exception&) {
        okMemoria = false;
        if (daMemoria.Bytes() != vazio) return QStringLiteral("registro não foi limpo após erro de leitura dos bytes");
    }
    if (okArquivo != okMemoria) return QStringLiteral("arquivo e memória discordam sobre o registro");
    if (!okArquivo) return {};
    if (doArquivo.Bytes() != bytes || daMemoria.Bytes() != bytes)
        return QStringLiteral("o registro lido não guarda os bytes do arquivo");

    if (QString f = LerTudo(doArquivo); !f.isEmpty()) return f;
    const QString regravado = pasta + QStringLiteral("/HDoc-regravado.dat");
    if (!Gravar(regravado, doArquivo.Bytes())) return QStringLiteral("não gravou o registro regravado");
    TVendaHeader relido;
    try {
        TLeituraVendaHeaderCorvane::GetVendaHeader(regravado, relido);
    } catch (const Exception& e) {
        return QStringLiteral("o registro regravado não foi lido de volta: ") + e.Mensagem();
    }
    if (relido.Bytes() != doArquivo.Bytes()) return QStringLiteral("o registro regravado voltou diferente");
    return {};
}

}  // namespace vesko::teste
