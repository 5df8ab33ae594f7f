#pragma once
// The settings dialog: the three directories, the two automatic intervals and
// the days of audit files to keep. It writes the settings file only when every
// value passes its check, and never restarts the timers itself (the tray form
// does that once the dialog is closed).
#include <QDialog>

class QLabel;
class QPushButton;

namespace vesko {

class TEdicaoDiretorio;
class TEdicaoNumero;

class TfrmConfigsIntegradorPDVBistrel : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConfigsIntegradorPDVBistrel(QWidget* parent = nullptr);

    // The font the dialog was drawn with: "Segoe UI" where installed, the
    // desktop's own otherwise; a control whose text does not fit in its box
    // gets a smaller point size, down to kMenorTamanhoFonte.
    static QFont FonteDialogo();
    static constexpr double kMenorTamanhoFonte = 8.0;

    QLabel* lblDiretorioImportacao;
    TEdicaoDiretorio* edtDiretorioExportacao;
    QLabel* lblDiretorioExportacao;
    TEdicaoDiretorio* edtDiretorioImportacao;
    QLabel* lblDiretorioBaseDados;
    TEdicaoDiretorio* edtDiretorioBaseDados;
    QLabel* lblTempoImportacao;
    TEdicaoNumero* edtIntervaloImportacao;
    QLabel* lblTempoExportacao;
    TEdicaoNumero* edtIntervaloExportacao;
    QLabel* lblNumeroDiasBackup;
    TEdicaoNumero* edtNumeroDiasBackup;
    QLabel* lblDias;
    QPushButton* btnOK;
    QPushButton* btnCancelar;

protected:
    void showEvent(QShowEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void MontarControles();
    void AjustarFontes();
    void Centralizar();

    void FormShow();
    bool FormKeyDown(int tecla);
    void btnOKClick();
    void SelecionarDiretorio(TEdicaoDiretorio* edit, const QString& titulo);
    void edtDiretorioExportacaoExit(TEdicaoDiretorio* edit);

    void ExibirConfiguracoesDialogo();
    bool ValidarConfiguracoes();
    bool GravarConfiguracoesDialogo();
    bool ValidarDiretorioImportacao();
    bool ValidarDiretorioExportacao();
    bool ValidarDiretorioBaseDados();
    bool ValidarDiretoriosDiferentes();
    bool ValidarIntervalosDiferentes();

    // Warning with an OK button; the focus then goes to `foco` (when given).
    void Avisar(const QString& mensagem, QWidget* foco = nullptr);
};

}  // namespace vesko
