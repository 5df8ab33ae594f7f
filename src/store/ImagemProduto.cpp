#include "store/ImagemProduto.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

namespace vesko {

namespace {

[[noreturn]] void Recusar(const QString& motivo) {
    throw EInvalidGraphic(QStringLiteral("Imagem inválida: %1").arg(motivo));
}

}  // namespace

void TImagemProduto::Redimencionar(QByteArray& Stream, int Largura, int Altura) {
    if (Largura < 1 || Altura < 1) Recusar(QStringLiteral("limites %1 x %2").arg(Largura).arg(Altura));
    QBuffer entrada(&Stream);
    entrada.open(QIODevice::ReadOnly);
    QImageReader leitor(&entrada);
    leitor.setDecideFormatFromContent(true);
    const QByteArray formato = leitor.format();
    if (formato.isEmpty() || !leitor.canRead()) Recusar(QStringLiteral("formato desconhecido"));
    QSize tamanho = leitor.size();
    if (!tamanho.isValid()) {
        // A format whose header does not tell its size: decode it once.
        QImage inteira;
        if (!leitor.read(&inteira)) Recusar(leitor.errorString());
        tamanho = inteira.size();
        entrada.seek(0);
        leitor.setDevice(&entrada);
    }
    if (tamanho.width() <= Largura && tamanho.height() <= Altura) return;  // fits: as it came

    QSize alvo = tamanho.scaled(Largura, Altura, Qt::KeepAspectRatio);
    alvo = alvo.expandedTo(QSize(1, 1));
    // The reader scales while decoding (the JPEG decoder skips the detail it
    // would throw away), smoothly.
    leitor.setScaledSize(alvo);
    QImage imagem;
    if (!leitor.read(&imagem)) Recusar(leitor.errorString());
    if (imagem.size() != alvo) imagem = imagem.scaled(alvo, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    QByteArray saida;
    QBuffer destino(&saida);
    destino.open(QIODevice::WriteOnly);
    QImageWriter escritor(&destino, formato);
    if (!escritor.canWrite()) Recusar(QStringLiteral("o formato %1 não pode ser regravado").arg(QString::fromLatin1(formato)));
    const bool jpeg = formato == "jpeg" || formato == "jpg";
    if (jpeg) escritor.setQuality(kQualidadeJpeg);
    if (!escritor.write(imagem)) Recusar(escritor.errorString());
    entrada.close();
    Stream = saida;
}

}  // namespace vesko
