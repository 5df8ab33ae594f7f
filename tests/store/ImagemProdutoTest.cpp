// Fitting a product's picture within the POS's bounds.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include "store/ImagemProduto.h"

using vesko::EInvalidGraphic;
using vesko::TImagemProduto;

namespace {

QByteArray Imagem(int largura, int altura, const char* formato) {
    QImage img(largura, altura, QImage::Format_RGB32);
    img.fill(qRgb(30, 120, 200));
    for (int x = 0; x < largura; x += 7) img.setPixel(x, altura / 2, qRgb(255, 255, 255));
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    QImageWriter(&b, formato).write(img);
    return bytes;
}

// Format and size of the picture held in `bytes`.
std::pair<QByteArray, QSize> Ler(const QByteArray& bytes) {
    QBuffer b;
    b.setData(bytes);
    b.open(QIODevice::ReadOnly);
    QImageReader r(&b);
    return {r.format(), r.size()};
}

}  // namespace

TEST(ImagemProduto, APictureThatFitsIsKeptByteForByte) {
    for (const auto& original : {Imagem(200, 150, "jpeg"), Imagem(120, 150, "png"), Imagem(1, 1, "bmp")}) {
        QByteArray s = original;
        TImagemProduto::Redimencionar(s, 200, 150);
        EXPECT_EQ(s, original);
    }
}

TEST(ImagemProduto, ALargerPictureIsScaledDownKeepingItsProportionsAndFormat) {
    struct Caso {
        QSize Original;
        const char* Formato;
        QSize Esperado;
    };
    for (const Caso& c : {Caso{{800, 600}, "jpeg", {200, 150}}, Caso{{300, 600}, "png", {75, 150}},
                          Caso{{1000, 100}, "bmp", {200, 20}}, Caso{{201, 150}, "jpeg", {200, 149}}}) {
        QByteArray s = Imagem(c.Original.width(), c.Original.height(), c.Formato);
        TImagemProduto::Redimencionar(s, 200, 150);
        const auto [formato, tamanho] = Ler(s);
        EXPECT_EQ(tamanho, c.Esperado) << c.Formato;
        EXPECT_EQ(formato, QByteArray(c.Formato));
    }
}

TEST(ImagemProduto, BytesThatAreNotAPictureRaiseAndStayAsTheyWere) {
    for (const QByteArray& original : {QByteArray("isto não é uma imagem"), QByteArray(), Imagem(800, 600, "jpeg").left(200)}) {
        QByteArray s = original;
        EXPECT_THROW(TImagemProduto::Redimencionar(s, 200, 150), EInvalidGraphic);
        EXPECT_EQ(s, original);
    }
}
