#include "startup/Secrets.h"

#include "common/Deployment.h"
#include "common/Session.h"
#include "platform/Ui.h"

namespace vcm {

void buildSecrets()
{
  Deployment deployment;
  QString why;
  if (!deployment.load(Deployment::defaultPath(), &why)) {
    notice(why, Icon::Exclamation);
    ui().endProcess(1);
  }
  buildSecrets(deployment);
}

void buildSecrets(const Deployment& deployment)
{
  Session.ServerAddress = deployment.assemble(QStringLiteral("server_address"));
  Session.DbUser = deployment.assemble(QStringLiteral("db_user"));
  Session.FtpUser = deployment.assemble(QStringLiteral("ftp_user"));
  Session.DbPassword = deployment.assemble(QStringLiteral("db_password"));
  Session.DbName = deployment.assemble(QStringLiteral("db_name"));
  Session.CryptKey = deployment.assemble(QStringLiteral("crypt_key"));
  // The business screens' key is the same text as the login key, built the same way; an
  // installation may keep a recipe of its own for it.
  const QString infoKey = deployment.has(QStringLiteral("info_crypt_key"))
                              ? QStringLiteral("info_crypt_key")
                              : QStringLiteral("crypt_key");
  Session.InfoCryptKey = deployment.assemble(infoKey);

  Session.ServerListHost = deployment.assemble(QStringLiteral("server_list_host"));
  Session.ManualHost = deployment.assemble(QStringLiteral("manual_host"));
  Session.ServiceMainDb = deployment.assemble(QStringLiteral("maindb"));
  Session.ServiceDb = deployment.assemble(QStringLiteral("db"));
  Session.DbPort = deployment.number(QStringLiteral("db_port"), 3306);
  Session.FtpPort = deployment.number(QStringLiteral("ftp_port"), 21);
  Session.HttpPort = deployment.number(QStringLiteral("http_port"), 80);
  Session.HttpsPort = deployment.number(QStringLiteral("https_port"), 443);
  Session.Tls = deployment.transportSecurity();
}

QString buildConnectionString()
{
  return QStringLiteral("driver=MySQL ODBC 3.51 Driver;database=") + Session.DbName +
         QStringLiteral(";option=0;pwd=") + Session.DbPassword + QStringLiteral(";port=") +
         QString::number(Session.DbPort) + QStringLiteral(";server=") + Session.ServerAddress +
         QStringLiteral(";uid=") + Session.DbUser + QStringLiteral(";charset=euckr;");
}

} // namespace vcm
