#include "app/Principal.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <cstdio>

#include "app/ConfiguracoesIntegradorPDVBistrel.h"
#include "app/ConfirmaSaida.h"
#include "app/TratamentoExecutaveis.h"
#include "audit/LogsIntegradorPDVBistrel.h"
#include "platform/Sistema.h"
#include "resources/Icones.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"

namespace vesko {
TfrmPrincipal::TfrmPrincipal(QWidget* parent) : QWidget(parent), m_agendador(*this) {
    setObjectName(QStringLiteral("frmPrincipal"));
    for (int i = 0; i < 3; ++i) m_icones[i] = IconeBandeja(i);
    Tray.setObjectName(QStringLiteral("Tray"));
    PopupMenu.setObjectName(QStringLiteral("PopupMenu"));
    m_hint = TAgendadorIntegrador::HintOcioso();
    Tray.setToolTip(m_hint);
    Tray.setIcon(m_icones[IconeOcioso]);
    MontarMenu();
    Tray.setContextMenu(&PopupMenu);
    DialogoConfiguracoes = [](QWidget*) {
        TfrmConfigsIntegradorPDVBistrel configs;
        configs.exec();
    };
    DialogoLogs = [](QWidget*) {
        TfrmLogsIntegradorPDVBistrel logs;
        logs.exec();
    };
    Tray.show();
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        Registrar(QStringLiteral("Não há área de notificação nesta área de trabalho: o Integrador Vesko "
                                 "continua funcionando sem ícone."));
}

TfrmPrincipal::~TfrmPrincipal() { Tray.setContextMenu(nullptr); }

void TfrmPrincipal::FormCreate() { m_agendador.FormCreate(); }

QAction* TfrmPrincipal::Entrada(QMenu& menu, const QString& texto, const QString& nome, int imagem,
                                void (TfrmPrincipal::*acao)()) {
    QAction* a = menu.addAction(ImagemMenu(imagem), texto);
    a->setObjectName(nome);
    connect(a, &QAction::triggered, this, acao);
    return a;
}

void TfrmPrincipal::MontarMenu() {
    Entrada(PopupMenu, QStringLiteral("&Importação"), QStringLiteral("Importacao"), 1, &TfrmPrincipal::ImportacaoClick);
    Entrada(PopupMenu, QStringLiteral("&Exportação"), QStringLiteral("Exportacao"), 0, &TfrmPrincipal::ExportacaoClick);
    PopupMenu.addSeparator()->setObjectName(QStringLiteral("N2"));
    auto* diretorios = new QMenu(&PopupMenu);
    UsarImagens24(*diretorios);
    diretorios->setTitle(QStringLiteral("&Diretórios de Integração"));
    diretorios->setIcon(ImagemMenu(6));
    diretorios->menuAction()->setObjectName(QStringLiteral("DiretoriosDeIntegracao"));
    PopupMenu.addMenu(diretorios);
    Entrada(*diretorios, QStringLiteral("&Importação"), QStringLiteral("Entrada"), 7, &TfrmPrincipal::EntradaClick);
    Entrada(*diretorios, QStringLiteral("&Exportação"), QStringLiteral("Saida"), 8, &TfrmPrincipal::SaidaClick);
    Entrada(*diretorios, QStringLiteral("&Base de dados"), QStringLiteral("Basededados1"), 11,
            &TfrmPrincipal::Basededados1Click);
    PopupMenu.addSeparator()->setObjectName(QStringLiteral("N3"));
    Entrada(PopupMenu, QStringLiteral("&Configurações"), QStringLiteral("Configuracoes"), 3,
            &TfrmPrincipal::ConfiguracoesClick);
    Entrada(PopupMenu, QStringLiteral("&Logs (Ocorrências)"), QStringLiteral("LogsOcorrncias"), 9,
            &TfrmPrincipal::LogsOcorrnciasClick);
    PopupMenu.addSeparator()->setObjectName(QStringLiteral("N4"));
    Entrada(PopupMenu, QStringLiteral("&Sair"), QStringLiteral("Sair"), 2, &TfrmPrincipal::SairClick);
}

// ---- IInterfacePrincipal ------------------------------------------------------

void TfrmPrincipal::DefinirHint(const QString& texto) {
    m_hint = texto;
    if (m_ritmoHint.Mostrar(texto)) AtualizarHintBandeja();
}

void TfrmPrincipal::DefinirProgresso(const QString& prefixo, int atual, int total) {
    if (!m_ritmoHint.MostrarProgresso(prefixo, atual, total)) return;  // kept as pending, not built
    m_hint = TextoProgresso(prefixo, atual, total);
    AtualizarHintBandeja();
}

void TfrmPrincipal::AtualizarHintBandeja() {
    const QString hint = Hint();
    if (Tray.toolTip() != hint) Tray.setToolTip(hint);
}

void TfrmPrincipal::DefinirIcone(Icone icone) {
    Tray.setIcon(m_icones[icone]);
    if (icone == IconeOcioso) AtualizarHintBandeja();  // the run is over: show its last text at once
}

void TfrmPrincipal::MostrarIcone(bool visivel) { Tray.setVisible(visivel); }

void TfrmPrincipal::Avisar(const QString& mensagem) {
    QMessageBox::warning(nullptr, QStringLiteral("Aviso"), mensagem, QMessageBox::Ok);
}

bool TfrmPrincipal::Perguntar(const QString& mensagem) {
    return QMessageBox::information(nullptr, QStringLiteral("Informação"), mensagem,
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TfrmPrincipal::MostrarConfiguracoes() {
    if (DialogoConfiguracoes) DialogoConfiguracoes(this);
}

void TfrmPrincipal::Registrar(const QString& linha) {
    std::fprintf(stderr, "%s\n", linha.toUtf8().constData());
    std::fflush(stderr);
}

// ---- menu ---------------------------------------------------------------------

void TfrmPrincipal::ImportacaoClick() { m_agendador.IniciarImportacao(); }
void TfrmPrincipal::ExportacaoClick() { m_agendador.IniciarExportacao(false); }
void TfrmPrincipal::EntradaClick() { AbrirDiretorio(Diretorio::Importacao); }
void TfrmPrincipal::SaidaClick() { AbrirDiretorio(Diretorio::Exportacao); }
void TfrmPrincipal::Basededados1Click() { AbrirDiretorio(Diretorio::BaseDeDados); }

void TfrmPrincipal::AbrirDiretorio(Diretorio qual) {
    const TConfigsIntegradorPDVBistrel configs;
    QString dir, aviso;
    switch (qual) {
    case Diretorio::Importacao:
        dir = configs.DiretorioImportacao();
        aviso = QStringLiteral("O diretório de importação não foi configurado ou não existe.");
        break;
    case Diretorio::Exportacao:
        dir = configs.DiretorioExportacao();
        aviso = QStringLiteral("O diretório de exportação não foi configurado ou não existe.");
        break;
    case Diretorio::BaseDeDados:
        dir = configs.DiretorioBaseDeDados();
        aviso = QStringLiteral("O diretório da base de dados não foi configurado ou não existe.");
        break;
    }
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) return Avisar(aviso);
    // No file manager on this desktop: the user can still open it by hand.
    const QString falhou = QStringLiteral("Não foi possível abrir o diretório \"%1\" no gerenciador de arquivos. "
                                          "Abra-o manualmente.")
                               .arg(QDir::toNativeSeparators(dir));
    const QPointer<TfrmPrincipal> eu(this);
    if (!AbrirNoGerenciadorDeArquivos(dir, [eu, falhou] { if (eu) eu->Avisar(falhou); })) Avisar(falhou);
}

void TfrmPrincipal::ConfiguracoesClick() {
    m_agendador.ExecutarDialogoMenu([this] {
        try {
            MostrarConfiguracoes();
        } catch (...) {
            m_agendador.ConfigurarTimers(nullptr);  // closed either way: the timers run again
            throw;
        }
        m_agendador.ConfigurarTimers(nullptr);
    });
}

void TfrmPrincipal::LogsOcorrnciasClick() {
    m_agendador.ExecutarDialogoMenu([this] {
        if (DialogoLogs) DialogoLogs(this);
    });
}

void TfrmPrincipal::SairClick() {
    bool encerrar = false;
    m_agendador.ExecutarDialogoMenu([&encerrar] {
        TConfirmaSaida confirma(QStringLiteral("Integrador Vesko"), QStringLiteral("Vesko"));
        encerrar = confirma.exec() == QDialog::Accepted;
    });
    if (!encerrar) return;
    TTratamentoExecutaveis::EncerrarProcesso(QString::fromLatin1(TAgendadorIntegrador::kNomeGuardian));
    Tray.hide();
    emit Encerrado();
    QApplication::quit();
}

}  // namespace vesko
