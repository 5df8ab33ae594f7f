#include "app/ConfiguracoesIntegradorPDVBistrel.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "app/EditoresConfiguracoes.h"
#include "base/Excecoes.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"

namespace vesko {
namespace {

constexpr Qt::WindowFlags kBorda = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// Runs a handler of the dialog; what it raises becomes a warning instead of
// reaching the event loop.
template <typename F>
void Protegido(QWidget* janela, F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        QMessageBox::warning(janela, QStringLiteral("Aviso"), MensagemExcecao(e), QMessageBox::Ok);
    } catch (...) {
        QMessageBox::warning(janela, QStringLiteral("Aviso"), QStringLiteral("Ocorreu um erro desconhecido."),
                             QMessageBox::Ok);
    }
}

bool DiretorioExiste(const QString& texto) { return !texto.isEmpty() && QFileInfo(texto).isDir(); }

// The text of check 4: upper case as the locale has it, without outer spaces.
QString ChaveComparacao(const QString& texto) { return QLocale().toUpper(texto.trimmed()); }

QLabel* Rotulo(const QString& nome, const QString& texto, QWidget* parent) {
    auto* l = new QLabel(texto, parent);
    l->setObjectName(nome);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// Lowers the point size of `w` until `texto` fits `largura` pixels, not below `menor`.
void CaberNaLargura(QWidget* w, const QString& texto, double largura, double menor) {
    QFont f = w->font();
    if (f.pointSizeF() <= 0) return;  // a font sized in pixels is left alone
    while (QFontMetricsF(f).horizontalAdvance(texto) > largura && f.pointSizeF() > menor)
        f.setPointSizeF(std::max(menor, f.pointSizeF() - 0.5));
    if (f != w->font()) w->setFont(f);
}

}  // namespace

TfrmConfigsIntegradorPDVBistrel::TfrmConfigsIntegradorPDVBistrel(QWidget* parent) : QDialog(parent, kBorda) {
    setObjectName(QStringLiteral("frmConfigsIntegradorPDVBistrel"));
    setWindowTitle(QStringLiteral("Configurações - Integrador Vesko"));
    setFont(FonteDialogo());
    setFixedSize(351, 282);
    MontarControles();
    AjustarFontes();
}

QFont TfrmConfigsIntegradorPDVBistrel::FonteDialogo() {
    if (QFontDatabase::families().contains(QStringLiteral("Segoe UI"))) {
        QFont segoe(QStringLiteral("Segoe UI"));
        segoe.setPointSize(9);
        return segoe;
    }
    return QApplication::font();
}

void TfrmConfigsIntegradorPDVBistrel::MontarControles() {
    // The first two captions are named after the other edit; each stands above
    // the edit it describes.
    lblDiretorioImportacao =
        Rotulo(QStringLiteral("lblDiretorioImportacao"), QStringLiteral("Diretório de exportação (dados de saída do Vesko)"), this);
    lblDiretorioImportacao->setGeometry(8, 8, 335, 16);
    edtDiretorioExportacao = new TEdicaoDiretorio(QStringLiteral("edtDiretorioExportacao"), this);
    edtDiretorioExportacao->setGeometry(8, 25, 335, 23);

    lblDiretorioExportacao = Rotulo(QStringLiteral("lblDiretorioExportacao"),
                                    QStringLiteral("Diretório de importação (dados de entrada do Vesko)"), this);
    lblDiretorioExportacao->setGeometry(8, 55, 335, 16);
    edtDiretorioImportacao = new TEdicaoDiretorio(QStringLiteral("edtDiretorioImportacao"), this);
    edtDiretorioImportacao->setGeometry(8, 72, 335, 23);

    lblDiretorioBaseDados =
        Rotulo(QStringLiteral("lblDiretorioBaseDados"), QStringLiteral("Diretório da base de dados do Vesko"), this);
    lblDiretorioBaseDados->setGeometry(8, 102, 335, 16);
    edtDiretorioBaseDados = new TEdicaoDiretorio(QStringLiteral("edtDiretorioBaseDados"), this);
    edtDiretorioBaseDados->setGeometry(8, 119, 335, 23);

    lblTempoImportacao = Rotulo(QStringLiteral("lblTempoImportacao"),
                                QStringLiteral("Intervalo para importação automática (minutos): "), this);
    lblTempoImportacao->setGeometry(8, 157, 280, 16);
    edtIntervaloImportacao = new TEdicaoNumero(QStringLiteral("edtIntervaloImportacao"), 1, 120, 3, 8, this);
    edtIntervaloImportacao->setGeometry(290, 153, 53, 23);

    lblTempoExportacao = Rotulo(QStringLiteral("lblTempoExportacao"),
                                QStringLiteral("Intervalo para exportação automática (minutos): "), this);
    lblTempoExportacao->setGeometry(8, 186, 280, 16);
    edtIntervaloExportacao = new TEdicaoNumero(QStringLiteral("edtIntervaloExportacao"), 1, 120, 3, 5, this);
    edtIntervaloExportacao->setGeometry(290, 182, 53, 23);

    lblNumeroDiasBackup = Rotulo(QStringLiteral("lblNumeroDiasBackup"),
                                 QStringLiteral("Manter os dados das auditorias dos últimos"), this);
    lblNumeroDiasBackup->setGeometry(8, 215, 244, 16);
    edtNumeroDiasBackup = new TEdicaoNumero(QStringLiteral("edtNumeroDiasBackup"), 2, 30, 2, 30, this);
    edtNumeroDiasBackup->setGeometry(254, 211, 53, 23);
    lblDias = Rotulo(QStringLiteral("lblDias"), QStringLiteral("dias"), this);
    lblDias->setGeometry(312, 215, 31, 16);

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(187, 249, 75, 25);
    btnCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    btnCancelar->setGeometry(268, 249, 75, 25);
    for (QPushButton* b : {btnOK, btnCancelar}) {
        b->setAutoDefault(false);  // Enter moves between the controls, it presses nothing
        b->setDefault(false);
    }

    QWidget* ordem[] = {edtDiretorioExportacao, edtDiretorioImportacao, edtDiretorioBaseDados, edtIntervaloImportacao,
                        edtIntervaloExportacao, edtNumeroDiasBackup,    btnOK,                 btnCancelar};
    for (size_t i = 0; i + 1 < std::size(ordem); ++i) setTabOrder(ordem[i], ordem[i + 1]);
    for (QWidget* w : ordem) w->installEventFilter(this);  // the dialog sees every key first

    const struct {
        TEdicaoDiretorio* edit;
        QString titulo;
    } diretorios[] = {
        // The first two browser captions name the other directory; they are kept word for word.
        {edtDiretorioImportacao, QStringLiteral("Selecione o diretório de exportação (dados de entrada do Vesko)")},
        {edtDiretorioExportacao, QStringLiteral("Selecione o diretório de importação (dados de saída do Vesko)")},
        {edtDiretorioBaseDados, QStringLiteral("Selecione o diretório da base de dados do Vesko")},
    };
    for (const auto& d : diretorios) {
        TEdicaoDiretorio* edit = d.edit;
        const QString titulo = d.titulo;
        connect(edit, &TEdicaoDiretorio::BotaoClicado, this, [this, edit, titulo] { SelecionarDiretorio(edit, titulo); });
        // Queued: the question is asked once the focus has settled on the next control.
        connect(edit, &TEdicaoDiretorio::Saida, this, [this, edit] { edtDiretorioExportacaoExit(edit); },
                Qt::QueuedConnection);
    }
    connect(btnOK, &QPushButton::clicked, this, &TfrmConfigsIntegradorPDVBistrel::btnOKClick);
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmConfigsIntegradorPDVBistrel::AjustarFontes() {
    for (QLabel* l : {lblDiretorioImportacao, lblDiretorioExportacao, lblDiretorioBaseDados, lblTempoImportacao,
                      lblTempoExportacao, lblNumeroDiasBackup, lblDias})
        CaberNaLargura(l, l->text().trimmed(), l->width(), kMenorTamanhoFonte);
    for (QPushButton* b : {btnOK, btnCancelar})
        CaberNaLargura(b, QString(b->text()).remove(QLatin1Char('&')), b->width() - 12, kMenorTamanhoFonte);
}

// ---- events -----------------------------------------------------------------------

void TfrmConfigsIntegradorPDVBistrel::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (evento->spontaneous()) return;  // restored from the task bar, not shown again
    Protegido(this, [this] { FormShow(); });
}

bool TfrmConfigsIntegradorPDVBistrel::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress && FormKeyDown(static_cast<QKeyEvent*>(evento)->key())) return true;
    return QDialog::eventFilter(objeto, evento);
}

void TfrmConfigsIntegradorPDVBistrel::FormShow() { ExibirConfiguracoesDialogo(); }

bool TfrmConfigsIntegradorPDVBistrel::FormKeyDown(int tecla) {
    if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    if (tecla == Qt::Key_Escape) {
        btnCancelar->click();
        return true;
    }
    return false;
}

void TfrmConfigsIntegradorPDVBistrel::btnOKClick() {
    Protegido(this, [this] {
        // Alt+O presses OK without leaving the spin edit: its corrections first,
        // so a typed 0 or 999 is never saved as typed.
        for (TEdicaoNumero* e : {edtIntervaloImportacao, edtIntervaloExportacao, edtNumeroDiasBackup}) e->CorrigirAoSair();
        if (ValidarConfiguracoes() && GravarConfiguracoesDialogo()) accept();
    });
}

void TfrmConfigsIntegradorPDVBistrel::SelecionarDiretorio(TEdicaoDiretorio* edit, const QString& titulo) {
    Protegido(this, [&] {
        const QString atual = edit->text();
        QFileDialog dialogo(this, titulo, DiretorioExiste(atual) ? atual : QString());
        dialogo.setObjectName(QStringLiteral("dlgSelecionarDiretorio"));
        dialogo.setFileMode(QFileDialog::Directory);
        dialogo.setOption(QFileDialog::ShowDirsOnly);
        if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return;
        const QString escolhido = dialogo.selectedFiles().constFirst();
        if (DiretorioExiste(escolhido)) edit->setText(QDir::toNativeSeparators(escolhido));
    });
}

void TfrmConfigsIntegradorPDVBistrel::edtDiretorioExportacaoExit(TEdicaoDiretorio* edit) {
    if (!isVisible()) return;  // the dialog closed before the focus change was seen
    Protegido(this, [&] {
        const QString texto = edit->text();
        if (texto.trimmed().isEmpty() || DiretorioExiste(texto)) return;
        if (QMessageBox::question(this, QStringLiteral("Confirmação"),
                                  QStringLiteral("O diretório informado não existe. Deseja criá-lo?"),
                                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        bool criado = false;
        try {
            criado = QDir().mkpath(texto) && DiretorioExiste(texto);
        } catch (...) {
            criado = false;
        }
        if (criado) return;
        Avisar(QStringLiteral("Não foi possível criar o diretório ") + QLatin1Char('"') + texto + QLatin1Char('"') +
                   QStringLiteral(". Por favor, escolha um ") + QStringLiteral("diretório válido."),
               edit);
    });
}

// ---- the settings ------------------------------------------------------------------

void TfrmConfigsIntegradorPDVBistrel::ExibirConfiguracoesDialogo() {
    const TConfigsIntegradorPDVBistrel configs;
    edtDiretorioImportacao->setText(configs.DiretorioImportacao());
    edtDiretorioExportacao->setText(configs.DiretorioExportacao());
    edtDiretorioBaseDados->setText(configs.DiretorioBaseDeDados());
    edtIntervaloImportacao->setValue(configs.IntervaloImportacao());
    edtIntervaloExportacao->setValue(configs.IntervaloExportacao());
    edtNumeroDiasBackup->setValue(configs.NumeroDiasBackupLogs());
}

bool TfrmConfigsIntegradorPDVBistrel::ValidarConfiguracoes() {
    return ValidarDiretorioImportacao() && ValidarDiretorioExportacao() && ValidarDiretorioBaseDados() &&
           ValidarDiretoriosDiferentes() && ValidarIntervalosDiferentes();
}

bool TfrmConfigsIntegradorPDVBistrel::ValidarDiretorioImportacao() {
    if (DiretorioExiste(edtDiretorioImportacao->text())) return true;
    Avisar(QStringLiteral("Por favor informe um diretório de importação válido."), edtDiretorioImportacao);
    return false;
}

bool TfrmConfigsIntegradorPDVBistrel::ValidarDiretorioExportacao() {
    if (DiretorioExiste(edtDiretorioExportacao->text())) return true;
    Avisar(QStringLiteral("Por favor informe um diretório de exportação válido."), edtDiretorioExportacao);
    return false;
}

bool TfrmConfigsIntegradorPDVBistrel::ValidarDiretorioBaseDados() {
    if (DiretorioExiste(edtDiretorioBaseDados->text())) return true;
    Avisar(QStringLiteral("Por favor informe um diretório de base de dados válido."), edtDiretorioBaseDados);
    return false;
}

bool TfrmConfigsIntegradorPDVBistrel::ValidarDiretoriosDiferentes() {
    const QString importacao = ChaveComparacao(edtDiretorioImportacao->text());
    const QString exportacao = ChaveComparacao(edtDiretorioExportacao->text());
    const QString baseDados = ChaveComparacao(edtDiretorioBaseDados->text());
    if (importacao != exportacao && importacao != baseDados && exportacao != baseDados) return true;
    Avisar(QStringLiteral("Os diretórios de importação, exportação e da base de dados devem ser diferentes. "
                          "Por favor verifique."),
           edtDiretorioExportacao);
    return false;
}

bool TfrmConfigsIntegradorPDVBistrel::ValidarIntervalosDiferentes() {
    if (edtIntervaloImportacao->value() != edtIntervaloExportacao->value()) return true;
    Avisar(QStringLiteral("Os tempos configurados para importação e exportação ser diferentes. Por favor verifique."),
           edtIntervaloImportacao);
    return false;
}

bool TfrmConfigsIntegradorPDVBistrel::GravarConfiguracoesDialogo() {
    try {
        TConfigsIntegradorPDVBistrel configs;  // reads the file first: what the dialog does not edit stays
        configs.SetDiretorioImportacao(edtDiretorioImportacao->text());
        configs.SetDiretorioExportacao(edtDiretorioExportacao->text());
        configs.SetDiretorioBaseDeDados(edtDiretorioBaseDados->text());
        configs.SetIntervaloImportacao(edtIntervaloImportacao->value());
        configs.SetIntervaloExportacao(edtIntervaloExportacao->value());
        configs.SetNumeroDiasBackupLogs(edtNumeroDiasBackup->value());
        configs.Gravar();
        return true;
    } catch (const std::exception& e) {
        // A folder that vanished, a full disk: the file is as it was and the
        // dialog stays open with what the user typed.
        Avisar(MensagemExcecao(e));
    }
    return false;
}

void TfrmConfigsIntegradorPDVBistrel::Avisar(const QString& mensagem, QWidget* foco) {
    QMessageBox::warning(this, QStringLiteral("Aviso"), mensagem, QMessageBox::Ok);
    if (foco) foco->setFocus(Qt::OtherFocusReason);
}

}  // namespace vesko
