#include "resources/RecursosImportacao.h"

#include <QResource>

// Registers the resources of this static library; outside any namespace, as
// Q_INIT_RESOURCE requires.
static void RegistrarRecursosImportacao() { Q_INIT_RESOURCE(RecursosImportacao); }

namespace vesko {

namespace {

const QString kPrefixo = QStringLiteral(":/importacao/");

void GarantirRegistro() {
    static const bool registrado = (RegistrarRecursosImportacao(), true);
    (void)registrado;
}

// The resource's bytes without a copy (the files are stored uncompressed);
// null when the program does not carry it.
QByteArray Bytes(const QString& Nome) {
    GarantirRegistro();
    if (Nome.isEmpty() || Nome.contains(QLatin1Char('/'))) return {};
    const QResource r(kPrefixo + Nome);
    if (!r.isValid() || r.data() == nullptr) return {};  // a folder has no data
    if (r.compressionAlgorithm() == QResource::NoCompression)
        return QByteArray::fromRawData(reinterpret_cast<const char*>(r.data()), static_cast<qsizetype>(r.size()));
    return r.uncompressedData();
}

[[noreturn]] void NaoEncontrado(const QString& Nome) {
    throw EResNotFound(QStringLiteral("Recurso %1 não encontrado").arg(Nome));
}

}  // namespace

const std::array<QString, 8>& ImagensTipoRecebimento() {
    static const std::array<QString, 8> nomes{
        QStringLiteral("DINHEIRO"),  QStringLiteral("CHEQUE"), QStringLiteral("CARTAO"), QStringLiteral("TICKET"),
        QStringLiteral("PARCELADO"), QStringLiteral("VALE"),   QStringLiteral("TROCA"),  QStringLiteral("CHEQUE_PRE")};
    return nomes;
}

QByteArray CarregarRecurso(const QString& Nome) {
    const QByteArray b = Bytes(Nome);
    if (b.isNull()) NaoEncontrado(Nome);
    return b;
}

QByteArray CarregarBitmapRecurso(const QString& Nome) {
    const QByteArray b = Bytes(Nome);
    if (b.isNull() || !b.startsWith("BM")) NaoEncontrado(Nome);
    return b;
}

}  // namespace vesko
