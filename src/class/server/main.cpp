// velotapper-class: sets up a class on a PostgreSQL server and enrols its learners.
// Run by the server's administrator; the program itself never needs it.
#include "ClassAdmin.h"
#include "Language.h"
#include "Say.h"
#include "ServerSchema.h"

#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace classserver;

namespace {

// Not translated: the command's name and options, the words the administrator types.
constexpr const char* kUsage = QT_TRANSLATE_NOOP(
    "velotapper-class",
    "使い方: velotapper-class init [--service 名前 | 接続文字列]\n"
    "        velotapper-class add-class クラス [票の指定] [--service 名前 | 接続文字列]\n"
    "        velotapper-class add-learners クラス 名簿.csv [票の指定] [--service 名前 | "
    "接続文字列]\n"
    "        velotapper-class version\n"
    "接続先の指定がなければ libpq の決まり (PGSERVICE、PGHOST など、または Unix ソケット) で"
    "接続します。\n"
    "名簿.csv は 1 行に「番号,名前」です。作ったログインは票に刷る CSV で出力します。\n"
    "票の指定 (学習者の機械がサーバーに接続するための値):\n"
    "  --host ホスト        学習者の機械から見たサーバーの名前 (既定: この接続のホスト)\n"
    "  --port ポート        (既定: この接続のポート)\n"
    "  --slip-service 名前  pg_service.conf の項目の名前 (既定: velotapper)\n"
    "  --sslmode モード     (既定: localhost 以外のホストなら verify-full)\n");

struct Args {
    std::string command, conninfo;
    std::vector<std::string> positional;
    SlipTarget slip;
    bool hostGiven = false, portGiven = false, sslGiven = false;
};

bool parse(int argc, char** argv, Args& a) {
    if (argc < 2) return false;
    a.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto next = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        bool ok = true;
        if (arg == "--service") {
            std::string name;
            ok = next(name);
            // The service name goes into a conninfo: quote it as libpq reads values.
            std::string q;
            for (char c : name) {
                if (c == '\\' || c == '\'') q += '\\';
                q += c;
            }
            a.conninfo = "service='" + q + "'";
        } else if (arg == "--host")
            ok = next(a.slip.host), a.hostGiven = true;
        else if (arg == "--port")
            ok = next(a.slip.port), a.portGiven = true;
        else if (arg == "--slip-service")
            ok = next(a.slip.service);
        else if (arg == "--sslmode")
            ok = next(a.slip.sslmode), a.sslGiven = true;
        else if (arg.rfind("--", 0) == 0)
            ok = false;
        else if (arg.find('=') != std::string::npos || arg.rfind("postgres", 0) == 0)
            a.conninfo = arg;
        else
            a.positional.push_back(arg);
        if (!ok) return false;
    }
    const size_t want = a.command == "add-class" ? 1 : a.command == "add-learners" ? 2 : 0;
    return a.positional.size() == want;
}

// The slips name the server as this connection reached it, unless told otherwise.
void fillSlip(PgConn& db, Args& a) {
    const std::string host = PQhost(db.raw()) ? PQhost(db.raw()) : "";
    if (!a.hostGiven) a.slip.host = host.empty() || host[0] == '/' ? "localhost" : host;
    if (!a.portGiven) a.slip.port = PQport(db.raw()) ? PQport(db.raw()) : "5432";
    a.slip.dbname = PQdb(db.raw());
    const bool local =
        a.slip.host == "localhost" || a.slip.host == "127.0.0.1" || a.slip.host == "::1";
    if (!a.sslGiven) a.slip.sslmode = local ? "" : "verify-full";
    if (local && !a.hostGiven)
        std::cerr << "velotapper-class: "
                  << say(QT_TRANSLATE_NOOP(
                         "velotapper-class",
                         "票のホストは localhost です。ほかの機械から接続するなら --host "
                         "を指定してください。"))
                  << "\n";
}

int fail(const std::string& why) {
    std::cerr << "velotapper-class: " << why << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    installTranslators(chooseLanguage(), programTranslationDirs());
    Args a;
    if (!parse(argc, argv, a)) {
        std::cerr << say(kUsage);
        return 2;
    }
    if (a.command == "version") {
        std::cout << kServerVersion << "\n";
        return 0;
    }
    if (a.command != "init" && a.command != "add-class" && a.command != "add-learners") {
        std::cerr << say(kUsage);
        return 2;
    }
    PgConn db(a.conninfo);
    if (!db.ok()) return fail(db.error());
    db.run("SET password_encryption = 'scram-sha-256'");

    if (a.command == "init") {
        const InitResult r = init(db);
        if (!r.ok) {
            std::cerr << "velotapper-class: " << r.error << "\n";
            return r.newer ? 3 : 1;
        }
        if (r.from == r.to)
            std::cout << say(QT_TRANSLATE_NOOP("velotapper-class",
                                               "クラスのスキーマはすでに版 %1 です。"),
                             {std::to_string(r.to)})
                      << "\n";
        else
            std::cout << say(QT_TRANSLATE_NOOP("velotapper-class",
                                               "クラスのスキーマを版 %1 にしました (前は %2)。"),
                             {std::to_string(r.to), std::to_string(r.from)})
                      << "\n";
        return 0;
    }
    fillSlip(db, a);
    std::string error;
    if (a.command == "add-class") {
        auto teacher = addClass(db, a.positional[0], &error);
        if (!teacher) return fail(error);
        teacher->name = a.positional[0];
        std::cout << slipsCsv({*teacher}, a.slip);
        return 0;
    }
    std::ifstream in(a.positional[1], std::ios::binary);
    if (!in)
        return fail(say(QT_TRANSLATE_NOOP("velotapper-class", "%1 を読めません: %2"),
                        {a.positional[1], std::strerror(errno)}));
    std::stringstream bytes;
    bytes << in.rdbuf();
    auto roster = parseRoster(bytes.str(), &error);
    if (!roster) return fail(a.positional[1] + ": " + error);
    std::vector<std::string> skipped;
    auto logins = addLearners(db, a.positional[0], *roster, &skipped, &error);
    if (!logins) return fail(error);
    for (const std::string& n : skipped)
        std::cerr << "velotapper-class: "
                  << say(QT_TRANSLATE_NOOP("velotapper-class",
                                           "番号 %1 は登録済みです。そのままにしました。"),
                         {n})
                  << "\n";
    std::cout << slipsCsv(*logins, a.slip);
    return 0;
}
