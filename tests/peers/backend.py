#!/usr/bin/python3
"""The servers the client talks to, all on loopback, for the tests and the demo.

    backend.py start DIR [--db-name NAME] [--no-local-grant] [--schema-only] [--tls]
    backend.py stop DIR
    backend.py load DIR DBNAME [--schema-only]   another database with the same tables
    backend.py delay-proxy --target-port N --delay-ms MS --stats FILE --while-exists PATH
                                                 a delaying proxy (delay_proxy.py) that
                                                 lives while PATH exists
    backend.py serve DIR                         (internal: the peer process)

`start` brings up, under DIR:
  - a private MariaDB (euckr, legacy sql_mode, --skip-name-resolve) with the
    service database and a database user granted for 127.0.0.1 (or, with
    --no-local-grant, only for 127.0.0.2, so that a connection from 127.0.0.1 is
    refused with error 1130); root reaches it through the unix socket;
  - one peer process with the server-list service (HTTP), an FTP server, an
    HTTP file server with Range support and a control port (below);
and writes DIR/backend.env (what the tests need) and DIR/deploy.ini (what the
client needs). With --tls the backend also makes its own CA and certificates
(openssl, in DIR/tls), MariaDB offers TLS, and the peer process adds an FTPS
server (AUTH TLS) and an HTTPS server with the files and the server-list
paths, each also with a certificate for another name, plus a database port that
strips the TLS offer from the server's greeting (a server that offers none).
Run it with Debian's /usr/bin/python3: pyftpdlib is installed there.

Test programs that cannot start this script themselves (the Windows build, run
under Wine) reach the same commands through the control port (CONTROL_PORT): one
JSON line {"args": ["kill-db", DIR]} in, one line {"rc": 0, "output": "", "dir": ""}
out. `start` with an empty DIR starts a backend in a new temporary folder and
answers its name in "dir"; `read-workbook ARGS` runs the export tests' workbook
reader and answers what it printed in "stdout"; `delay-proxy` answers the proxy's
"PORT n" line in "stdout". The same admin SQL they cannot send through the unix
socket goes over TCP as ADMIN_TCP_USER, from the source address ADMIN_BIND only, so
that 127.0.0.1 stays without any account but the database user's.
"""

from __future__ import annotations

import argparse
import datetime as dt
import hashlib
import http.server
import json
import os
import random
import re
import shutil
import signal
import socket
import socketserver
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
SOURCE_DIR = HERE.parent.parent
DEMO_DIR = SOURCE_DIR / "demo"
sys.path.insert(0, str(DEMO_DIR))
import demo_data  # noqa: E402

LOOPBACK = "127.0.0.1"
MARKER = ".vcm-backend"
INSTALLER_NAME = "Vetra_Care_Setup_Up_Member.exe"
FTP_UPLOAD_DIR = "/home/Vetra_Care_01/VETRA_CARE_ADD_FILE"
FTP_INSTALLER_DIR = "/var/www/html"
MANUAL_PATH = "/M_H/M_01"
SERVER_LIST_PATHS = ("/test/GET_LIST_IP.php", "/test/GET_LIST_IP_HP.php")
# Admin over TCP: an account that only this source address matches.
ADMIN_BIND = "127.0.0.3"
ADMIN_TCP_USER = "vcm_admin"
ADMIN_TCP_PASSWORD = "admin-only-on-127.0.0.3"
# What the control port runs; anything else is refused.
CONTROL_COMMANDS = ("start", "stop", "load", "kill-db", "start-db", "read-workbook", "delay-proxy")
WORKBOOK_READER = SOURCE_DIR / "tests" / "common" / "export" / "read_workbook.py"

# Test and demo secrets. Each fits the form the client expects (lengths and
# alphabets) and avoids characters that would need quoting in a URL query or a
# key=value connection string.
SECRETS = {
    "db_user": "vcareMb",          # six lower-case letters and one upper-case
    "ftp_user": "vcareft",         # seven lower-case letters
    "db_password": "c7!a2*r5_e9-~",  # 4 lower-case, 4 digits, 5 special characters
    "db_name": "vcare_MBR_01",     # 5 lower, 3 upper, 2 special, 2 digits
    "crypt_key": "vetrakey357",    # 8 lower-case letters and 3 digits
    "maindb": "vetramn_MAIN",      # 7 lower, 4 upper, 1 special
    "db": "vcare",                 # 5 lower-case letters
}
SPECIALS = "!@$%^*()_-~"


# --------------------------------------------------------------------------- util

def recipe(text: str) -> str:
    """Deployment recipe of a text: one token per character."""
    tokens = []
    for ch in text:
        if ch.isdigit():
            tokens.append(f"d{ch}")
        elif "a" <= ch <= "z":
            tokens.append(f"l{ord(ch) - ord('a')}")
        elif "A" <= ch <= "Z":
            tokens.append(f"u{ord(ch) - ord('A')}")
        elif ch in SPECIALS:
            tokens.append(f"s{SPECIALS.index(ch)}")
        elif ch in ".:":
            tokens.append(ch)
        else:
            raise ValueError(f"character {ch!r} has no recipe token")
    return " ".join(tokens)


def free_port() -> int:
    with socket.socket() as s:
        s.bind((LOOPBACK, 0))
        return s.getsockname()[1]


def program_version() -> str:
    text = (SOURCE_DIR / "CMakeLists.txt").read_text(encoding="utf-8")
    m = re.search(r"project\s*\(\s*\S+\s+VERSION\s+([0-9.]+)", text)
    if not m:
        raise SystemExit("no project(... VERSION x.y.z) line in CMakeLists.txt")
    return m.group(1)


def read_env(path: Path) -> dict:
    env = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#") and "=" in line:
            k, v = line.split("=", 1)
            env[k] = v
    return env


def write_text(path: Path, text: str, mode: int = 0o644) -> None:
    tmp = path.with_name(path.name + ".tmp")
    tmp.write_text(text, encoding="utf-8")
    os.chmod(tmp, mode)
    os.replace(tmp, path)


def pid_alive(pid: int) -> bool:
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    # A zombie child of ours is as good as gone.
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().split(")")[-1].split()[0] != "Z"
    except OSError:
        return False


def kill_pid_file(path: Path, timeout: float = 10.0) -> None:
    try:
        pid = int(path.read_text().strip())
    except (OSError, ValueError):
        return
    if pid <= 1 or not pid_alive(pid):
        return
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    deadline = time.time() + timeout
    while time.time() < deadline and pid_alive(pid):
        time.sleep(0.05)
    if pid_alive(pid):
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass


class Layout:
    """Where everything lives under DIR."""

    def __init__(self, root: Path):
        self.root = root.resolve()
        self.run = self.root / "run"
        self.data = self.root / "db"
        self.messages = self.root / "messages"
        self.ftp = self.root / "ftp"
        self.www = self.root / "www"
        self.env = self.root / "backend.env"
        self.deploy = self.root / "deploy.ini"
        self.mariadb_pid = self.run / "mariadbd.pid"
        self.peers_pid = self.run / "peers.pid"
        self.ports = self.run / "ports.json"
        self.config = self.run / "peers.json"
        self.server_list_control = self.run / "server-list.json"
        self.server_list_log = self.run / "server-list.log"
        self.http_control = self.run / "http.json"
        self.http_log = self.run / "http.log"
        self.ftp_control = self.run / "ftp.json"
        self.ftp_log = self.run / "ftp.log"
        self.db_proxy_control = self.run / "db-proxy.json"
        self.tls = self.root / "tls"
        sock = self.run / "mysqld.sock"
        if len(str(sock)) > 100:  # unix socket paths are limited to ~108 bytes
            digest = hashlib.sha1(str(self.root).encode()).hexdigest()[:12]
            sock = Path("/tmp") / f"vcm-{digest}.sock"
        self.socket = sock


# ------------------------------------------------------------------ certificates

OTHER_NAME = "other.invalid"


def _openssl(*args: str) -> None:
    res = subprocess.run(["openssl", *args], capture_output=True)
    if res.returncode != 0:
        raise SystemExit("openssl " + " ".join(args) + ":\n" + res.stderr.decode(errors="replace"))


def make_certs(lay: Layout) -> dict:
    """A CA, a certificate for 127.0.0.1 and one for another name, both signed by it,
    and a second CA that signed neither (EC keys: made in milliseconds)."""
    d = lay.tls
    d.mkdir(parents=True, exist_ok=True)
    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    for ca in ("ca", "wrong-ca"):
        _openssl("req", "-x509", *ec, "-keyout", str(d / f"{ca}.key"), "-out", str(d / f"{ca}.pem"),
                 "-days", "30", "-subj", f"/CN=vcm test {ca}")
    # The address also as a DNS name: curl's Schannel backend (Windows) matches the host
    # against DNS names only, never IP-address entries; OpenSSL checks the IP entry.
    for name, san in (("server", f"IP:{LOOPBACK},DNS:{LOOPBACK}"), ("other", f"DNS:{OTHER_NAME}")):
        cn = LOOPBACK if name == "server" else OTHER_NAME
        _openssl("req", *ec, "-keyout", str(d / f"{name}.key"), "-out", str(d / f"{name}.csr"),
                 "-subj", f"/CN={cn}")
        (d / f"{name}.ext").write_text(f"subjectAltName={san}\nbasicConstraints=CA:FALSE\n")
        _openssl("x509", "-req", "-in", str(d / f"{name}.csr"), "-CA", str(d / "ca.pem"),
                 "-CAkey", str(d / "ca.key"), "-CAcreateserial", "-days", "30",
                 "-extfile", str(d / f"{name}.ext"), "-out", str(d / f"{name}.pem"))
    # the server process may run as another user than the one that reads the keys
    for f in d.iterdir():
        os.chmod(f, 0o644)
    facts = {"TLS_DIR": str(d), "TLS_CA": str(d / "ca.pem"), "TLS_WRONG_CA": str(d / "wrong-ca.pem"),
             "TLS_OTHER_NAME": OTHER_NAME}
    for name in ("server", "other"):
        der = subprocess.run(["openssl", "x509", "-in", str(d / f"{name}.pem"), "-outform", "DER"],
                             capture_output=True, check=True).stdout
        facts[f"TLS_{name.upper()}_SHA256"] = hashlib.sha256(der).hexdigest()
    return facts


# ---------------------------------------------------------------------- MariaDB

def admin_sql(lay: Layout, sql: str, database: str | None = None, check: bool = True) -> str:
    cmd = ["mariadb", "--no-defaults", f"--socket={lay.socket}", "-uroot", "-N", "-B",
           "--default-character-set=utf8mb4"]
    if database:
        cmd.append(database)
    res = subprocess.run(cmd, input=sql.encode("utf-8"), capture_output=True)
    if check and res.returncode != 0:
        raise RuntimeError(res.stderr.decode("utf-8", "replace").strip())
    return res.stdout.decode("utf-8", "replace")


def prepare_messages(lay: Layout) -> None:
    """Server messages worded like the MySQL server the service runs.

    The client recognises a refused address by the server's wording ("... is not
    allowed to connect to this MySQL server"); MariaDB says "MariaDB server". The
    server has its English texts built in and reads a message file only for another
    language, so the English file, reworded, is installed as the file of the Korean
    locale (whose own file is English apart from a few texts). Texts in the file end
    with NUL, so the shorter word is padded with NULs.
    """
    src = Path("/usr/share/mysql")
    dst = lay.messages / "korean"
    dst.mkdir(parents=True, exist_ok=True)
    data = (src / "english" / "errmsg.sys").read_bytes()
    reworded = data.replace(b"this MariaDB server\x00", b"this MySQL server\x00\x00\x00")
    if reworded == data:
        raise SystemExit("errmsg.sys: the refused-host text was not found")
    (dst / "errmsg.sys").write_bytes(reworded)
    charsets = lay.messages / "charsets"
    if not charsets.exists():
        charsets.symlink_to(src / "charsets")


def mariadb_args(lay: Layout, port: int) -> list[str]:
    tls = []
    if (lay.tls / "server.pem").exists():
        tls = [f"--ssl-cert={lay.tls / 'server.pem'}", f"--ssl-key={lay.tls / 'server.key'}",
               f"--ssl-ca={lay.tls / 'ca.pem'}"]
    args = [
        "mariadbd", "--no-defaults",
        f"--datadir={lay.data}", f"--socket={lay.socket}", f"--port={port}",
        f"--bind-address={LOOPBACK}", "--skip-name-resolve",
        f"--pid-file={lay.mariadb_pid}", f"--log-error={lay.run / 'mariadbd.err'}",
        f"--tmpdir={lay.run}",
        "--character-set-server=euckr", "--collation-server=euckr_korean_ci",
        "--sql-mode=", f"--lc-messages-dir={lay.messages}", "--lc-messages=ko_KR",
        "--skip-log-bin", "--performance-schema=OFF",
        "--innodb-buffer-pool-size=16M", "--innodb-log-file-size=8M",
        "--innodb-flush-log-at-trx-commit=2", "--innodb-doublewrite=0",
        "--innodb-fast-shutdown=2", "--skip-innodb-adaptive-hash-index",
        "--key-buffer-size=1M", "--max-connections=200",
        "--wait-timeout=600",
    ] + tls
    if os.geteuid() == 0:
        args.append("--user=root")
    return args


INSTALL_OPTIONS = ["--auth-root-authentication-method=normal", "--skip-test-db",
                   "--skip-name-resolve", "--innodb-log-file-size=8M",
                   "--innodb-flush-log-at-trx-commit=0", "--innodb-doublewrite=0"]


def template_datadir() -> Path:
    """A freshly installed, never started data folder, made once per server version.

    Installing the system tables takes several seconds on a busy disk; copying the
    result takes a fraction of that, which matters for tests that start backends of
    their own.
    """
    version = subprocess.run(["mariadbd", "--version"], capture_output=True, text=True).stdout
    key = hashlib.sha1((version + " ".join(INSTALL_OPTIONS) + str(os.geteuid())).encode()).hexdigest()[:16]
    cache = Path(os.environ.get("VCM_BACKEND_CACHE") or
                 Path(os.environ.get("XDG_CACHE_HOME") or Path.home() / ".cache") / "vcm-backend")
    template = cache / f"datadir-{key}"
    if (template / "mysql").is_dir():
        return template
    cache.mkdir(parents=True, exist_ok=True)
    work = cache / f"building-{os.getpid()}"
    shutil.rmtree(work, ignore_errors=True)
    cmd = ["mariadb-install-db", "--no-defaults", f"--datadir={work}"] + INSTALL_OPTIONS
    if os.geteuid() == 0:
        cmd.append("--user=root")
    res = subprocess.run(cmd, capture_output=True)
    if res.returncode != 0:
        shutil.rmtree(work, ignore_errors=True)
        raise SystemExit("mariadb-install-db failed:\n" + res.stdout.decode() + res.stderr.decode())
    try:
        work.rename(template)  # atomic; a parallel start may have won the race
    except OSError:
        shutil.rmtree(work, ignore_errors=True)
    return template


def start_mariadb(lay: Layout) -> int:
    shutil.copytree(template_datadir(), lay.data, symlinks=True)
    prepare_messages(lay)
    for attempt in range(5):
        port = free_port()
        if launch_mariadb(lay, port):
            return port
        err = (lay.run / "mariadbd.err").read_text(errors="replace")
        if "Address already in use" not in err and "Can't start server" not in err:
            raise SystemExit("mariadbd did not start:\n" + err[-3000:])
    raise SystemExit("mariadbd did not start: no free port")


def launch_mariadb(lay: Layout, port: int) -> bool:
    """Starts mariadbd on the data folder as it is; true once it answers on `port`."""
    log = open(lay.run / "mariadbd.out", "ab")
    proc = subprocess.Popen(mariadb_args(lay, port), stdin=subprocess.DEVNULL,
                            stdout=log, stderr=log, start_new_session=True)
    log.close()
    deadline = time.time() + 30
    while time.time() < deadline and proc.poll() is None:
        if lay.socket.exists() and _tcp_greets(port):
            return True
        time.sleep(0.05)
    if proc.poll() is None:
        proc.kill()
    proc.wait()
    return False


def cmd_kill_db(args) -> None:
    """Kills the backend's mariadbd at once, as a crash or a power cut would."""
    lay = Layout(Path(args.dir))
    try:
        pid = int(lay.mariadb_pid.read_text().strip())
    except (OSError, ValueError):
        raise SystemExit("no mariadbd pid file")
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    deadline = time.time() + 10
    while time.time() < deadline and pid_alive(pid):
        time.sleep(0.02)
    lay.socket.unlink(missing_ok=True)


def cmd_start_db(args) -> None:
    """Starts the backend's mariadbd again on its data folder and its old port."""
    lay = Layout(Path(args.dir))
    port = int(read_env(lay.env)["DB_PORT"])
    if not launch_mariadb(lay, port):
        err = (lay.run / "mariadbd.err").read_text(errors="replace")
        raise SystemExit("mariadbd did not start again:\n" + err[-3000:])


def cmd_delay_proxy(args) -> None:
    """Starts the delaying proxy on its own and prints its "PORT n" line. It outlives this
    command (a test that reaches the host only through the control port cannot be its
    parent) and ends when the file --while-exists names is removed, or after its lifetime."""
    stats = Path(args.stats)
    proc = subprocess.Popen([sys.executable, str(HERE / "delay_proxy.py"),
                             "--target-port", str(args.target_port), "--delay-ms", str(args.delay_ms),
                             "--stats", str(stats), "--lifetime", str(args.lifetime),
                             "--while-exists", args.while_exists],
                            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    line = proc.stdout.readline().decode().strip()
    proc.stdout.close()
    if not line.startswith("PORT "):
        proc.kill()
        raise SystemExit("the delaying proxy did not start")
    print(line)


def _tcp_greets(port: int) -> bool:
    try:
        with socket.create_connection((LOOPBACK, port), timeout=0.5) as s:
            return len(s.recv(16)) > 0
    except OSError:
        return False


def create_database(lay: Layout, name: str, grant_host: str, schema_only: bool) -> dict:
    """Creates database `name` with the tables (and demo rows) and grants the user on it."""
    admin_sql(lay, f"CREATE DATABASE `{name}` DEFAULT CHARACTER SET euckr COLLATE euckr_korean_ci;")
    admin_sql(lay, (DEMO_DIR / "schema.sql").read_text(encoding="utf-8"), name)
    today = dt.date.fromisoformat(admin_sql(lay, "SELECT CURDATE();").strip())
    if not schema_only:
        installer = lay.www / INSTALLER_NAME
        size = installer.stat().st_size if installer.exists() else 0
        sql = demo_data.build_sql(today, SECRETS["crypt_key"], SECRETS["crypt_key"],
                                  program_version(), size)
        admin_sql(lay, sql, name)
    grant(lay, name, grant_host)
    return demo_data.summary(today) | {"SERVER_DATE": today.strftime("%Y.%m.%d")}


def grant(lay: Layout, database: str, host: str) -> None:
    user, pw = SECRETS["db_user"], SECRETS["db_password"]
    admin_sql(lay, f"CREATE USER IF NOT EXISTS '{user}'@'{host}' IDENTIFIED BY '{pw}';\n"
                   f"GRANT ALL PRIVILEGES ON `{database}`.* TO '{user}'@'{host}';")


# ------------------------------------------------------------------ installer

def make_installer(lay: Layout) -> Path:
    """A few MB of reproducible bytes standing in for the published installer."""
    lay.www.mkdir(parents=True, exist_ok=True)
    path = lay.www / INSTALLER_NAME
    rng = random.Random(20240305)
    size = 3 * 1024 * 1024 + 12345  # deliberately not a multiple of any buffer size
    path.write_bytes(b"MZ" + rng.randbytes(size - 2))
    manual = lay.www / MANUAL_PATH.lstrip("/")
    manual.mkdir(parents=True, exist_ok=True)
    (manual / "index.html").write_text(
        "<!doctype html><meta charset=utf-8><title>사용설명서</title>"
        "<h1>거래내역 사용설명서</h1><p>데모 서버의 사용설명서 페이지입니다.</p>\n",
        encoding="utf-8")
    return path


# --------------------------------------------------------------------- start/stop

def cmd_start(args) -> None:
    lay = Layout(Path(args.dir))
    if lay.root.exists() and (lay.root / MARKER).exists():
        stop(lay)
    elif lay.root.exists() and any(lay.root.iterdir()):
        raise SystemExit(f"{lay.root} is not empty and not a backend folder; refusing to use it")
    lay.run.mkdir(parents=True, exist_ok=True)
    (lay.root / MARKER).write_text("backend folder; `backend.py stop` removes it\n")
    try:
        _start(lay, args)
    except BaseException:
        stop(lay)
        raise


def _start(lay: Layout, args) -> None:
    db_name = args.db_name
    recipe(db_name)  # refuse a name the deployment file could not express
    installer = make_installer(lay)
    for d in (FTP_UPLOAD_DIR, FTP_INSTALLER_DIR):
        (lay.ftp / d.lstrip("/")).mkdir(parents=True, exist_ok=True)
    shutil.copyfile(installer, lay.ftp / FTP_INSTALLER_DIR.lstrip("/") / INSTALLER_NAME)

    tls_facts = make_certs(lay) if args.tls else {}
    db_port = start_mariadb(lay)
    # Only the database user may come in over TCP: no anonymous users, and root only
    # through the socket. A host without any account is then refused with 1130.
    admin_sql(lay, "DELETE FROM mysql.global_priv WHERE User='' OR (User='root' AND Host<>'localhost');\n"
                   "FLUSH PRIVILEGES;\n"
                   f"CREATE USER '{ADMIN_TCP_USER}'@'{ADMIN_BIND}' IDENTIFIED BY '{ADMIN_TCP_PASSWORD}';\n"
                   f"GRANT ALL PRIVILEGES ON *.* TO '{ADMIN_TCP_USER}'@'{ADMIN_BIND}' WITH GRANT OPTION;")
    grant_host = "127.0.0.2" if args.no_local_grant else LOOPBACK
    facts = create_database(lay, db_name, grant_host, args.schema_only)

    config = {"socket": str(lay.socket), "db_name": db_name, "secrets": SECRETS,
              "ftp_root": str(lay.ftp), "www": str(lay.www),
              "server_list_control": str(lay.server_list_control),
              "server_list_log": str(lay.server_list_log),
              "http_control": str(lay.http_control), "http_log": str(lay.http_log),
              "ftp_control": str(lay.ftp_control), "ftp_log": str(lay.ftp_log),
              "db_port": db_port, "db_proxy_control": str(lay.db_proxy_control),
              "ports_file": str(lay.ports),
              "tls_dir": str(lay.tls) if args.tls else None}
    write_text(lay.config, json.dumps(config, indent=1))
    write_text(lay.server_list_control, "{}\n")
    write_text(lay.http_control, "{}\n")
    write_text(lay.ftp_control, "{}\n")
    write_text(lay.db_proxy_control, "{}\n")
    log = open(lay.run / "peers.out", "ab")
    proc = subprocess.Popen([sys.executable, str(Path(__file__).resolve()), "serve", str(lay.root)],
                            stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                            start_new_session=True, close_fds=True)
    log.close()
    write_text(lay.peers_pid, f"{proc.pid}\n")
    deadline = time.time() + 20
    while not lay.ports.exists():
        if proc.poll() is not None or time.time() > deadline:
            raise SystemExit("peer process did not start:\n" +
                             (lay.run / "peers.out").read_text(errors="replace")[-3000:])
        time.sleep(0.05)
    ports = json.loads(lay.ports.read_text())

    env = {
        "BACKEND_DIR": str(lay.root),
        "BACKEND_SCRIPT": str(Path(__file__).resolve()),
        "PYTHON": sys.executable,
        "PROGRAM_VERSION": program_version(),
        "DB_HOST": LOOPBACK, "DB_PORT": db_port, "DB_USER": SECRETS["db_user"],
        "DB_PASSWORD": SECRETS["db_password"], "DB_NAME": db_name, "DB_CHARSET": "euckr",
        "DB_GRANT_HOST": grant_host,
        "ADMIN_SOCKET": str(lay.socket), "ADMIN_USER": "root",
        "ADMIN_BIND": ADMIN_BIND, "ADMIN_TCP_USER": ADMIN_TCP_USER,
        "ADMIN_TCP_PASSWORD": ADMIN_TCP_PASSWORD, "CONTROL_PORT": ports["control"],
        "CRYPT_KEY": SECRETS["crypt_key"], "INFO_CRYPT_KEY": SECRETS["crypt_key"],
        "MAINDB": SECRETS["maindb"], "MEMBER_DB": SECRETS["db"],
        "SERVER_LIST_HOST": LOOPBACK, "SERVER_LIST_PORT": ports["server_list"],
        "SERVER_LIST_CONTROL": str(lay.server_list_control),
        "SERVER_LIST_LOG": str(lay.server_list_log),
        "FTP_HOST": LOOPBACK, "FTP_PORT": ports["ftp"], "FTP_USER": SECRETS["ftp_user"],
        "FTP_PASSWORD": SECRETS["db_password"], "FTP_ROOT": str(lay.ftp),
        "FTP_UPLOAD_DIR": FTP_UPLOAD_DIR, "FTP_INSTALLER_DIR": FTP_INSTALLER_DIR,
        "FTP_CONTROL": str(lay.ftp_control), "FTP_LOG": str(lay.ftp_log),
        "DB_PROXY_PORT": ports["db_proxy"], "DB_PROXY_CONTROL": str(lay.db_proxy_control),
        "HTTP_HOST": LOOPBACK, "HTTP_PORT": ports["http"], "HTTP_ROOT": str(lay.www),
        "HTTP_CONTROL": str(lay.http_control), "HTTP_LOG": str(lay.http_log),
        "INSTALLER_URL_PATH": "/" + INSTALLER_NAME, "INSTALLER_FILE": str(installer),
        "INSTALLER_SIZE": installer.stat().st_size, "MANUAL_PATH": MANUAL_PATH,
        "DEPLOY_FILE": str(lay.deploy),
    } | facts | tls_facts | {k.upper() + "_PORT": v for k, v in ports.items()
                             if k.startswith(("ftps", "https", "db_plain"))}
    write_deploy(lay, db_name, db_port, ports, args.tls)
    write_text(lay.env, "# written by backend.py start; removed by backend.py stop\n" +
               "".join(f"{k}={v}\n" for k, v in env.items()), mode=0o600)


def write_deploy(lay: Layout, db_name: str, db_port: int, ports: dict, tls: bool = False) -> None:
    server_list_host = f"{LOOPBACK}:{ports['server_list']}"
    manual_host = f"{LOOPBACK}:{ports['http']}"
    lines = [
        "# Deployment data of the local test/demo backend (written by backend.py).",
        "# Each secret is a recipe: dN digit, lN lower-case letter, uN upper-cased letter,",
        "# sN special character N of \"!@$%^*()_-~\", and the literals '.' and ':'.",
        f"server_address = {recipe(LOOPBACK)}",
        f"db_user = {recipe(SECRETS['db_user'])}",
        f"ftp_user = {recipe(SECRETS['ftp_user'])}",
        f"db_password = {recipe(SECRETS['db_password'])}",
        f"db_name = {recipe(db_name)}",
        f"crypt_key = {recipe(SECRETS['crypt_key'])}",
        f"info_crypt_key = {recipe(SECRETS['crypt_key'])}",
        f"server_list_host = {recipe(server_list_host)}",
        f"manual_host = {recipe(manual_host)}",
        f"maindb = {recipe(SECRETS['maindb'])}",
        f"db = {recipe(SECRETS['db'])}",
        f"db_port = {db_port}",
        f"ftp_port = {ports['ftps'] if tls else ports['ftp']}",
        f"http_port = {ports['http']}",
    ]
    if tls:
        # The backend's CA beside the file; every channel uses TLS where offered and
        # checks the certificate against it.
        shutil.copyfile(lay.tls / "ca.pem", lay.root / "service-ca.pem")
        lines += ["tls_ca = service-ca.pem", f"https_port = {ports['https']}",
                  "db_tls = preferred", "ftp_tls = preferred", "http_tls = preferred"]
    write_text(lay.deploy, "\n".join(lines) + "\n", mode=0o600)


def stop(lay: Layout) -> None:
    kill_pid_file(lay.peers_pid)
    kill_pid_file(lay.mariadb_pid)
    if (lay.root / MARKER).exists():
        shutil.rmtree(lay.root, ignore_errors=True)
    if lay.socket.parent == Path("/tmp"):
        lay.socket.unlink(missing_ok=True)


def cmd_stop(args) -> None:
    lay = Layout(Path(args.dir))
    if lay.root.exists() and not (lay.root / MARKER).exists():
        raise SystemExit(f"{lay.root} is not a backend folder; not touching it")
    stop(lay)


def cmd_load(args) -> None:
    lay = Layout(Path(args.dir))
    env = read_env(lay.env)
    create_database(lay, args.database, env["DB_GRANT_HOST"], args.schema_only)


# ------------------------------------------------------------------------ peers

class JsonLog:
    def __init__(self, path: str):
        self.path = path
        self.lock = threading.Lock()

    def write(self, record: dict) -> None:
        line = json.dumps(record, ensure_ascii=False) + "\n"
        with self.lock, open(self.path, "a", encoding="utf-8") as f:
            f.write(line)


def read_control(path: str) -> dict:
    try:
        return json.loads(Path(path).read_text(encoding="utf-8") or "{}")
    except (OSError, ValueError):
        return {}


IPV4 = re.compile(r"^(25[0-5]|2[0-4]\d|1?\d?\d)(\.(25[0-5]|2[0-4]\d|1?\d?\d)){3}$")


def parse_raw_query(query: str) -> dict:
    """The client sends values as they are (not URL-encoded): split on '&', then on the
    first '=' (strkind itself holds a second '=' on the explicit-address path)."""
    out = {}
    for part in query.split("&"):
        k, _, v = part.partition("=")
        out[k] = v
    return out


class ServerListHandler(http.server.BaseHTTPRequestHandler):
    """POST /test/GET_LIST_IP.php and /test/GET_LIST_IP_HP.php.

    Control file (JSON), read on every request:
      answer   body to send (default "1")
      grant    whether to grant the address (default: when the answer reads as 1)
      listen   false closes the listening socket until it is true again
      extra_bytes  blanks sent after the answer (an answer far too long)
      stall    answer nothing for `hold` seconds (default 5), then close
    """
    protocol_version = "HTTP/1.0"

    def version_string(self):
        return "Apache"

    def log_message(self, *a):
        pass

    def do_GET(self):
        self._handle()

    def do_POST(self):
        self._handle()

    def _handle(self):
        cfg = self.server.cfg
        path, _, query = self.path.partition("?")
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length).decode("utf-8", "replace") if length else ""
        record = {"time": time.time(), "method": self.command, "path": path, "query": query,
                  "body": body, "headers": dict(self.headers.items()),
                  "client": self.client_address[0]}
        if path not in SERVER_LIST_PATHS:
            record["status"] = 404
            getattr(self.server, "server_list_log", self.server.log).write(record)
            self.send_error(404)
            return
        control = read_control(cfg["server_list_control"])
        if control.get("stall"):
            self.server.log.write(record | {"stalled": True})
            time.sleep(float(control.get("hold", 5)))
            self.close_connection = True
            return
        answer = str(control.get("answer", "1"))
        want_grant = control.get("grant")
        if want_grant is None:
            want_grant = answer.strip() == "1"
        params = parse_raw_query(query)
        address, reason = self._address(path, params, record["client"])
        if reason is None:
            reason = self._check_account(params, cfg)
        if reason is not None:
            record["refused"] = reason
            answer = "0"
        elif want_grant:
            try:
                grant_address(cfg, address)
                record["granted"] = address
            except Exception as exc:  # noqa: BLE001 - report, answer 0
                record["refused"] = f"grant failed: {exc}"
                answer = "0"
        record["answer"] = answer
        getattr(self.server, "server_list_log", self.server.log).write(record)
        data = answer.encode("utf-8")
        extra = int(control.get("extra_bytes") or 0)
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=UTF-8")
        self.send_header("Content-Length", str(len(data) + extra))
        self.end_headers()
        try:
            self.wfile.write(data)
            # An answer that goes on and on: blanks, which a trimming reader would skip.
            block = b" " * 65536
            while extra > 0:
                self.wfile.write(block[:min(extra, len(block))])
                extra -= min(extra, len(block))
        except OSError:
            self.close_connection = True

    @staticmethod
    def _address(path, params, client):
        kind = params.get("strkind", "")
        if path.endswith("_HP.php"):
            prefix = "VETRA_MEMBER_LIST="
            if not kind.startswith(prefix):
                return None, "strkind without an address"
            address = kind[len(prefix):]
            if not IPV4.match(address):
                return None, f"not an IPv4 address: {address}"
            return address, None
        if kind != "VETRA_MEMBER_LIST":
            return None, f"unexpected strkind: {kind}"
        return client, None

    @staticmethod
    def _check_account(params, cfg):
        s = cfg["secrets"]
        expected = {"host": "localhost", "id": s["db_user"], "pw": s["db_password"],
                    "maindb": s["maindb"], "db": s["db"]}
        for key, value in expected.items():
            if params.get(key) != value:
                return f"wrong {key}"
        return None


def grant_address(cfg: dict, address: str) -> None:
    s = cfg["secrets"]
    sql = (f"CREATE USER IF NOT EXISTS '{s['db_user']}'@'{address}' IDENTIFIED BY '{s['db_password']}';\n"
           f"GRANT ALL PRIVILEGES ON `{cfg['db_name']}`.* TO '{s['db_user']}'@'{address}';")
    res = subprocess.run(["mariadb", "--no-defaults", f"--socket={cfg['socket']}", "-uroot"],
                         input=sql.encode(), capture_output=True, timeout=30)
    if res.returncode != 0:
        raise RuntimeError(res.stderr.decode("utf-8", "replace").strip())


class SwitchableServer:
    """An HTTP server whose listening socket can be closed and reopened on the same port."""

    def __init__(self, handler, cfg, log: JsonLog, control_path: str):
        self.handler, self.cfg, self.log, self.control_path = handler, cfg, log, control_path
        self.port = 0
        self.server = None
        self.thread = None
        self.open()

    def open(self):
        srv = http.server.ThreadingHTTPServer((LOOPBACK, self.port), self.handler)
        srv.daemon_threads = True
        srv.cfg, srv.log = self.cfg, self.log
        self.port = srv.server_address[1]
        self.server = srv
        self.thread = threading.Thread(target=srv.serve_forever, kwargs={"poll_interval": 0.05},
                                       daemon=True)
        self.thread.start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()
        self.server = None

    def watch(self):
        while True:
            listen = read_control(self.control_path).get("listen", True) is not False
            if listen and self.server is None:
                for _ in range(100):
                    try:
                        self.open()
                        break
                    except OSError:
                        time.sleep(0.05)
            elif not listen and self.server is not None:
                self.close()
            time.sleep(0.05)


class FileHandler(http.server.BaseHTTPRequestHandler):
    """Static files of DIR/www with single byte ranges (206), as a plain web server.

    Control file (JSON): status (answer every GET with this status),
    rate (bytes per second), drop_after (close the connection after this many body bytes),
    no_length (send no Content-Length; the end of the body is the end of the connection),
    protocol (the status line's protocol, for example "HTTP/1.0"), stall_after (send
    this many body bytes, then nothing for `hold` seconds, then close), stall_headers
    (send nothing at all for `hold` seconds, then close).
    """
    protocol_version = "HTTP/1.1"

    def version_string(self):
        return "Apache"

    def log_message(self, *a):
        pass

    def do_HEAD(self):
        self._serve(head=True)

    def do_GET(self):
        self._serve(head=False)

    def _serve(self, head: bool):
        cfg = self.server.cfg
        control = read_control(cfg["http_control"])
        path = self.path.split("?", 1)[0]
        rng = self.headers.get("Range")
        self.server.log.write({"time": time.time(), "method": self.command, "path": path,
                               "range": rng, "headers": dict(self.headers.items())})
        if control.get("protocol"):
            self.protocol_version = str(control["protocol"])
        if control.get("stall_headers"):
            time.sleep(float(control.get("hold", 5)))
            self.close_connection = True
            return
        if control.get("status"):
            self._simple(int(control["status"]))
            return
        root = Path(cfg["www"]).resolve()
        target = (root / path.lstrip("/")).resolve()
        if target.is_dir():
            target = target / "index.html"
        if root not in target.parents or not target.is_file():
            self._simple(404)
            return
        size = target.stat().st_size
        start, end = 0, size - 1
        status = 200
        if rng:
            m = re.fullmatch(r"bytes=(\d*)-(\d*)", rng.strip())
            if not m or (m.group(1) == "" and m.group(2) == ""):
                self._simple(416, extra={"Content-Range": f"bytes */{size}"})
                return
            if m.group(1) == "":
                start, end = max(0, size - int(m.group(2))), size - 1
            else:
                start = int(m.group(1))
                end = min(int(m.group(2)), size - 1) if m.group(2) else size - 1
            if start >= size or start > end:
                self._simple(416, extra={"Content-Range": f"bytes */{size}"})
                return
            status = 206
        self.send_response(status)
        ctype = "text/html; charset=UTF-8" if target.suffix == ".html" else "application/octet-stream"
        self.send_header("Content-Type", ctype)
        self.send_header("Accept-Ranges", "bytes")
        if control.get("no_length"):
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(end - start + 1))
        if status == 206:
            self.send_header("Content-Range", f"bytes {start}-{end}/{size}")
        self.end_headers()
        if head:
            return
        rate = int(control.get("rate") or 0)
        drop_after = control.get("drop_after")
        stall_after = control.get("stall_after")
        sent = 0
        with open(target, "rb") as f:
            f.seek(start)
            remaining = end - start + 1
            began = time.time()
            while remaining > 0:
                chunk = f.read(min(16384, remaining))
                if stall_after is not None and sent + len(chunk) >= int(stall_after):
                    self.wfile.write(chunk[: max(0, int(stall_after) - sent)])
                    self.wfile.flush()
                    time.sleep(float(control.get("hold", 5)))
                    self.close_connection = True
                    self.connection.shutdown(socket.SHUT_RDWR)
                    return
                if drop_after is not None and sent + len(chunk) >= int(drop_after):
                    chunk = chunk[: max(0, int(drop_after) - sent)]
                    self.wfile.write(chunk)
                    self.wfile.flush()
                    self.close_connection = True
                    self.connection.shutdown(socket.SHUT_RDWR)
                    return
                self.wfile.write(chunk)
                sent += len(chunk)
                remaining -= len(chunk)
                if rate > 0:
                    ahead = sent / rate - (time.time() - began)
                    if ahead > 0:
                        time.sleep(ahead)

    def _simple(self, status: int, extra: dict | None = None):
        body = f"<html><body>{status}</body></html>".encode()
        self.send_response(status)
        for k, v in (extra or {}).items():
            self.send_header(k, v)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)


def ftp_handler_class(cfg: dict):
    """pyftpdlib's handler with a command log and a fault switch.

    Log (JSON lines): session (one number per control connection), command, arg
    (PASS masked). Control file (JSON): drop_after (close the control and data
    connections once this many file bytes have moved on one control connection),
    stall_after (after this many file bytes move nothing for `hold` seconds, then close).
    """
    from pyftpdlib.handlers import DTPHandler, FTPHandler
    from pyftpdlib.ioloop import RetryError

    log = JsonLog(cfg["ftp_log"])
    sessions = iter(range(1, 1 << 30))

    class VcmDtpHandler(DTPHandler):
        def _limit(self, n: int) -> int:
            """How many of the next n bytes may still move; drops the session at the limit."""
            control = read_control(cfg["ftp_control"])
            stall_after = control.get("stall_after")
            if stall_after is not None and self.cmd_channel.vcm_bytes + n > int(stall_after):
                # Nothing more moves: the session holds still, then goes away.
                log.write({"time": time.time(), "session": self.cmd_channel.vcm_session,
                           "command": "STALL", "arg": str(self.cmd_channel.vcm_bytes)})
                time.sleep(float(control.get("hold", 5)))
                return 0
            drop_after = control.get("drop_after")
            if drop_after is None:
                return n
            owner = self.cmd_channel
            allowed = max(0, int(drop_after) - owner.vcm_bytes)
            return min(n, allowed)

        def _drop(self):
            owner = self.cmd_channel
            log.write({"time": time.time(), "session": owner.vcm_session, "command": "DROP",
                       "arg": str(owner.vcm_bytes)})
            try:
                self.socket.shutdown(socket.SHUT_RDWR)
                owner.socket.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            self.close()
            owner.close()

        def handle_read(self):
            try:
                chunk = self.recv(self.ac_in_buffer_size)
            except RetryError:
                return
            except socket.error:
                return self.handle_error()
            self.tot_bytes_received += len(chunk)
            if not chunk:
                self.transfer_finished = True
                return
            if self._data_wrapper is not None:
                chunk = self._data_wrapper(chunk)
            allowed = self._limit(len(chunk))
            self.file_obj.write(chunk[:allowed])
            self.file_obj.flush()
            self.cmd_channel.vcm_bytes += allowed
            if allowed < len(chunk) or allowed == 0:
                self._drop()

        handle_read_event = handle_read

        def send(self, data):
            allowed = self._limit(len(data))
            if allowed == 0 and data:
                self._drop()
                return 0
            sent = DTPHandler.send(self, data[:allowed])
            self.cmd_channel.vcm_bytes += sent
            return sent

    class VcmFtpHandler(FTPHandler):
        dtp_handler = VcmDtpHandler
        use_sendfile = False  # the fault switch counts what send() moves

        def on_connect(self):
            self.vcm_session = next(sessions)
            self.vcm_bytes = 0

        def pre_process_command(self, line, cmd, arg):
            log.write({"time": time.time(), "session": self.vcm_session, "command": cmd,
                       "arg": "******" if cmd == "PASS" else (arg or "")})
            return FTPHandler.pre_process_command(self, line, cmd, arg)

    return VcmFtpHandler


class DbProxy:
    """A MySQL-protocol proxy in front of the MariaDB that misbehaves on request.

    Control file (JSON), read at every result set: cut_after_rows (close both
    connections instead of passing row N+1 of a result: the result is cut short),
    stall_after_rows (stop passing anything after N rows of a result), cut_at_ok (close
    both connections instead of passing the session's Nth OK: the statement ran, the
    client never learns it), stall_greeting (never pass the server's greeting), hold (seconds a stall lasts before the proxy
    closes the connection itself; default 5). Without switches it passes everything.
    The proxy hides two capabilities of the server from the client: TLS, so it can
    read the packets, and the deprecated-EOF form, so a result's rows end with EOF.
    """

    CLIENT_SSL = 0x800
    CLIENT_DEPRECATE_EOF = 1 << 24

    def __init__(self, cfg: dict):
        self.cfg = cfg
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind((LOOPBACK, 0))
        self.listener.listen(16)
        self.port = self.listener.getsockname()[1]
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            client, _ = self.listener.accept()
            threading.Thread(target=self._session, args=(client,), daemon=True).start()

    def _control(self) -> dict:
        return read_control(self.cfg["db_proxy_control"])

    @staticmethod
    def _read_packet(sock) -> bytes | None:
        head = DbProxy._read_exact(sock, 4)
        if head is None:
            return None
        body = DbProxy._read_exact(sock, int.from_bytes(head[:3], "little"))
        return None if body is None else head + body

    @staticmethod
    def _read_exact(sock, n: int) -> bytes | None:
        data = b""
        while len(data) < n:
            try:
                chunk = sock.recv(n - len(data))
            except OSError:
                return None
            if not chunk:
                return None
            data += chunk
        return data

    def _hold_and_close(self, *socks):
        time.sleep(float(self._control().get("hold", 5)))
        self._close(*socks)

    @staticmethod
    def _close(*socks):
        """Shuts before closing: a thread blocked reading the socket keeps it open otherwise."""
        for s in socks:
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            s.close()

    def _greeting(self, packet: bytes) -> bytes:
        body = bytearray(packet[4:])
        pos = body.index(0, 1) + 1 + 4 + 8 + 1  # version, thread id, scramble, filler
        lower = int.from_bytes(body[pos:pos + 2], "little") & ~self.CLIENT_SSL
        body[pos:pos + 2] = lower.to_bytes(2, "little")
        upper_pos = pos + 2 + 1 + 2
        upper = int.from_bytes(body[upper_pos:upper_pos + 2], "little") & ~(self.CLIENT_DEPRECATE_EOF >> 16)
        body[upper_pos:upper_pos + 2] = upper.to_bytes(2, "little")
        return packet[:4] + bytes(body)

    def _session(self, client):
        try:
            server = socket.create_connection((LOOPBACK, int(self.cfg["db_port"])))
        except OSError:
            client.close()
            return
        greeting = self._read_packet(server)
        if greeting is None:
            client.close()
            server.close()
            return
        if self._control().get("stall_greeting"):
            self._hold_and_close(client, server)
            return
        client.sendall(self._greeting(greeting))
        commands = []  # command bytes sent by the client, oldest first
        lock = threading.Lock()

        def upstream():
            while True:
                packet = self._read_packet(client)
                if packet is None:
                    break
                if packet[3] == 0:  # sequence 0: a new command
                    with lock:
                        commands.append(packet[4] if len(packet) > 4 else None)
                try:
                    server.sendall(packet)
                except OSError:
                    break
            for s in (client, server):
                try:
                    s.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass

        threading.Thread(target=upstream, daemon=True).start()
        # Authentication runs until the server's OK or error. The packets of the login
        # are forgotten before that last answer reaches the client: the client's first
        # command may follow it at once.
        while True:
            packet = self._read_packet(server)
            if packet is None:
                self._close(client, server)
                return
            done = packet[4] in (0x00, 0xFF)
            if done:
                with lock:
                    commands.clear()
            client.sendall(packet)
            if done:
                break
        oks = 0
        while True:
            packet = self._read_packet(server)
            if packet is None:
                break
            if packet[4] == 0x00:
                oks += 1
                cut_at = self._control().get("cut_at_ok")
                if cut_at is not None and oks >= int(cut_at):
                    self._close(client, server)
                    return
            with lock:
                command = commands.pop(0) if commands else None
            if command != 0x03 or packet[4] in (0x00, 0xFF, 0xFB):
                client.sendall(packet)
                continue
            if not self._pass_result(packet, server, client):
                return
        self._close(client, server)

    def _pass_result(self, first: bytes, server, client) -> bool:
        """Passes one result set (its first packet given); False when it cut it."""
        control = self._control()
        client.sendall(first)
        count, _ = self._lenenc(first[4:])
        for _ in range(count):  # column definitions
            client.sendall(self._read_packet(server))
        client.sendall(self._read_packet(server))  # EOF after the definitions
        rows = 0
        while True:
            packet = self._read_packet(server)
            if packet is None:
                return False
            end = packet[4] == 0xFF or (packet[4] == 0xFE and len(packet) - 4 < 9)
            if not end:
                if control.get("cut_after_rows") is not None and rows >= int(control["cut_after_rows"]):
                    self._close(client, server)
                    return False
                if control.get("stall_after_rows") is not None and rows >= int(control["stall_after_rows"]):
                    self._hold_and_close(client, server)
                    return False
                rows += 1
            client.sendall(packet)
            if end:
                return True

    @staticmethod
    def _lenenc(data: bytes) -> tuple[int, int]:
        first = data[0]
        if first < 0xFB:
            return first, 1
        size = {0xFC: 2, 0xFD: 3, 0xFE: 8}[first]
        return int.from_bytes(data[1:1 + size], "little"), 1 + size


class ControlHandler(socketserver.StreamRequestHandler):
    """Runs one of this script's commands for a client that cannot start it."""

    def handle(self):
        try:
            request = json.loads(self.rfile.readline(65536) or b"{}")
            args = [str(a) for a in request.get("args", [])]
            if not args or args[0] not in CONTROL_COMMANDS:
                raise ValueError(f"not a control command: {args[:1]}")
            directory = ""
            if args[0] == "start" and len(args) > 1 and args[1] == "":
                args[1] = directory = tempfile.mkdtemp(prefix="vcm-isolated-")
            if args[0] == "read-workbook":
                command = [sys.executable, str(WORKBOOK_READER)] + args[1:]
            else:
                command = [sys.executable, str(Path(__file__).resolve())] + args
            res = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
            if res.returncode != 0 and directory:
                shutil.rmtree(directory, ignore_errors=True)
            reply = {"rc": res.returncode, "dir": directory,
                     "stdout": res.stdout.decode("utf-8", "replace"),
                     "output": (res.stdout + res.stderr).decode("utf-8", "replace")}
        except Exception as e:  # the client shows the reason; the port keeps serving
            reply = {"rc": -1, "dir": "", "output": f"{type(e).__name__}: {e}"}
        self.wfile.write(json.dumps(reply).encode("utf-8") + b"\n")


def cmd_serve(args) -> None:
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.servers import ThreadedFTPServer

    lay = Layout(Path(args.dir))
    cfg = json.loads(lay.config.read_text())

    server_list = SwitchableServer(ServerListHandler, cfg, JsonLog(cfg["server_list_log"]),
                                   cfg["server_list_control"])
    threading.Thread(target=server_list.watch, daemon=True).start()

    files = http.server.ThreadingHTTPServer((LOOPBACK, 0), FileHandler)
    files.daemon_threads = True
    files.cfg, files.log = cfg, JsonLog(cfg["http_log"])
    threading.Thread(target=files.serve_forever, daemon=True).start()

    authorizer = DummyAuthorizer()
    authorizer.add_user(cfg["secrets"]["ftp_user"], cfg["secrets"]["db_password"],
                        cfg["ftp_root"], perm="elradfmwMT")
    handler = ftp_handler_class(cfg)
    handler.authorizer = authorizer
    handler.banner = "FTP server ready."
    handler.permit_foreign_addresses = False
    handler.auth_failed_timeout = 0.3  # tests try wrong passwords; keep them quick
    base = random.Random(os.getpid()).randrange(30000, 60000, 100)
    handler.passive_ports = range(base, base + 100)
    ftp = ThreadedFTPServer((LOOPBACK, 0), handler)
    ftp.max_cons = 64
    ftp.poll_timeout = 0.05  # a new data connection waits for the next poll of its thread

    proxy = DbProxy(cfg)

    control = socketserver.ThreadingTCPServer((LOOPBACK, 0), ControlHandler)
    control.daemon_threads = True
    threading.Thread(target=control.serve_forever, daemon=True).start()

    ports = {"server_list": server_list.port, "http": files.server_address[1],
             "ftp": ftp.socket.getsockname()[1], "db_proxy": proxy.port,
             "control": control.server_address[1]}
    if cfg.get("tls_dir"):
        ports |= serve_tls(cfg, handler, authorizer)
    write_text(Path(cfg["ports_file"]), json.dumps(ports))

    def on_term(*_):
        os._exit(0)

    signal.signal(signal.SIGTERM, on_term)
    ftp.serve_forever(timeout=0.5, handle_exit=False)


def serve_tls(cfg: dict, plain_handler, authorizer) -> dict:
    """FTPS (explicit, AUTH TLS), HTTPS file and server-list servers with the certificate
    for 127.0.0.1 and FTPS and HTTPS with the certificate for another name; and a
    database port whose greeting offers no TLS."""
    import ssl

    import OpenSSL.SSL
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler
    from pyftpdlib.ioloop import IOLoop
    from pyftpdlib.servers import ThreadedFTPServer

    class HandshakingDtpHandler(TLS_DTPHandler):
        """A client may start the data connection's handshake before it sends the
        transfer command (curl does); pyftpdlib would take the waiting ClientHello, or
        what follows the handshake, for a hang-up and close the connection. Until the
        transfer starts only the handshake is read."""

        def readable(self):
            if self._ssl_accepting:
                return True
            if not self.receive and not self._initialized:
                return False
            return super().readable()

    tls = Path(cfg["tls_dir"])
    ports = {}
    for suffix, name in (("", "server"), ("_other", "other")):
        handler = type(f"VcmTlsFtpHandler{suffix}", (TLS_FTPHandler, plain_handler), {})
        handler.certfile = str(tls / f"{name}.pem")
        handler.keyfile = str(tls / f"{name}.key")
        handler.tls_control_required = False
        handler.tls_data_required = False
        handler.dtp_handler = HandshakingDtpHandler
        # Under TLS 1.3 pyftpdlib may start a download before the data connection's
        # handshake has finished on its side, and the client then reads a broken record.
        handler.ssl_options = TLS_FTPHandler.ssl_options | OpenSSL.SSL.OP_NO_TLSv1_3
        handler.authorizer = authorizer
        base = random.Random(os.getpid() + len(suffix)).randrange(30000, 60000, 100)
        handler.passive_ports = range(base, base + 100)
        ports[f"ftps{suffix}_passive"] = base  # first of 100 ports
        # An IOLoop of its own: the default one is shared with the plain FTP server,
        # whose thread runs it already.
        ftps = ThreadedFTPServer((LOOPBACK, 0), handler, ioloop=IOLoop())
        ftps.max_cons = 64
        ftps.poll_timeout = 0.05
        threading.Thread(target=ftps.serve_forever, kwargs={"timeout": 0.5, "handle_exit": False},
                         daemon=True).start()
        ports[f"ftps{suffix}"] = ftps.socket.getsockname()[1]

        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(tls / f"{name}.pem", tls / f"{name}.key")
        srv = TlsHttpServer((LOOPBACK, 0), FileAndServerListHandler, context)
        srv.daemon_threads = True
        srv.cfg, srv.log = cfg, JsonLog(cfg["http_log"])
        srv.server_list_log = JsonLog(cfg["server_list_log"])
        threading.Thread(target=srv.serve_forever, kwargs={"poll_interval": 0.05}, daemon=True).start()
        ports[f"https{suffix}"] = srv.server_address[1]
    # A server that offers no TLS: the misbehaving-database proxy hides the offer, and
    # with a control file of its own no switch of the other tests reaches it.
    ports["db_plain"] = DbProxy({**cfg, "db_proxy_control": str(tls / "db-plain.json")}).port
    return ports


class FileAndServerListHandler(FileHandler):
    """One web server, as the service's host has: the files and the server-list paths."""
    _address = staticmethod(ServerListHandler._address)
    _check_account = staticmethod(ServerListHandler._check_account)

    def do_POST(self):
        ServerListHandler._handle(self)

    def do_GET(self):
        if self.path.partition("?")[0] in SERVER_LIST_PATHS:
            return ServerListHandler._handle(self)
        return FileHandler.do_GET(self)


class TlsHttpServer(http.server.ThreadingHTTPServer):
    """An HTTPS server; the handshake runs in the request's thread, so a client that
    gives up on the certificate does not hold up the others."""

    def __init__(self, address, handler, context):
        self.context = context
        super().__init__(address, handler)

    def finish_request(self, request, client_address):
        import ssl
        try:
            request = self.context.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError):
            return
        super().finish_request(request, client_address)


def main() -> None:
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = p.add_subparsers(dest="command", required=True)
    s = sub.add_parser("start", help="start the backend in DIR (stopping a previous one)")
    s.add_argument("dir")
    s.add_argument("--db-name", default=SECRETS["db_name"], help="service database name")
    s.add_argument("--no-local-grant", action="store_true",
                   help="grant the database user only for 127.0.0.2 (TCP from 127.0.0.1 gets 1130)")
    s.add_argument("--schema-only", action="store_true", help="tables without demo rows")
    s.add_argument("--tls", action="store_true",
                   help="own CA and certificates; TLS on MariaDB; FTPS and HTTPS peers")
    s.set_defaults(func=cmd_start)
    s = sub.add_parser("stop", help="stop the backend in DIR and remove DIR")
    s.add_argument("dir")
    s.set_defaults(func=cmd_stop)
    s = sub.add_parser("load", help="create another database with the tables (and demo rows)")
    s.add_argument("dir")
    s.add_argument("database")
    s.add_argument("--schema-only", action="store_true")
    s.set_defaults(func=cmd_load)
    s = sub.add_parser("kill-db", help="kill the backend's database server at once")
    s.add_argument("dir")
    s.set_defaults(func=cmd_kill_db)
    s = sub.add_parser("start-db", help="start the killed database server again on its port")
    s.add_argument("dir")
    s.set_defaults(func=cmd_start_db)
    s = sub.add_parser("delay-proxy", help="start a delaying proxy that lives while a file exists")
    s.add_argument("--target-port", type=int, required=True)
    s.add_argument("--delay-ms", type=float, required=True)
    s.add_argument("--stats", required=True)
    s.add_argument("--while-exists", required=True)
    s.add_argument("--lifetime", type=float, default=900.0)
    s.set_defaults(func=cmd_delay_proxy)
    s = sub.add_parser("serve", help=argparse.SUPPRESS)
    s.add_argument("dir")
    s.set_defaults(func=cmd_serve)
    args = p.parse_args()
    args.func(args)


if __name__ == "__main__":
    main()
