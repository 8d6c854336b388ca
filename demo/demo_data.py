"""Demo data of one home-care centre, generated at load time.

The ledger opens on the month before the server's date, so the months of the
entries are computed from the date the caller passes (the server's CURDATE()):
the three months before it are released to the member (the oldest already sent
for closing) and the current month holds a few entries the service has not yet
released. Everything is deterministic for a given date.

Secrets are never written here as values: member IDs and passwords go in as
HEX(AES_ENCRYPT(text, key)) evaluated by the server with the key the caller
passes, exactly as the service stores them.
"""

from __future__ import annotations

import datetime as _dt
import random

COMPANY = {
    "COM_CD": "1001",
    "CENTER_CD": "31101",
    "COM_NM": "햇살가득재가복지센터",
    "BIZ_NO": "214-82-13579",
    "FOUND_DT": "2015.03.02",
    "COM_TEL": "02-2634-1187",
    "COM_FAX": "02-2634-1188",
    "BOSS_NM": "한정숙",
    "BOSS_TEL": "010-4412-7783",
    "CENJANG_NM": "오미경",
    "CENJANG_TEL": "010-5523-9014",
    "COM_POSTNO": "073-21",
    "COM_JUSO1": "서울특별시 영등포구 도림로 123",
    "COM_JUSO2": "햇살빌딩 2층",
    "DM_POSTNO": "073-21",
    "DM_JUSO1": "서울특별시 영등포구 도림로 123",
    "DM_JUSO2": None,  # the mailing address has no second line
    "COM_MAIL": "sunshine.care@example.kr",
    "CON_DIV": 1,
    "CON_DT": "2019.01.15",
    "MEMBER_WRITE_COM": 1,
    "MEMBER_APP_USE": 0,
}

# Credentials stored encrypted in COM_LIST (column -> plain text).
COMPANY_SECRETS = {
    "MEMBER_ID": "sunshine1001",
    "MEMBER_PW": "care2024!",
    "W4C_ID": "bank-cert-1001",
    "W4C_PW": "agency-cert-77",
    "CENTER_PW_1": "admin-cert-01",
    "HOPE_ID": "hope1001",
    "HOPE_PW": "hopePw#2024",
}

# Two more members for the login paths: one under maintenance, one that may not
# request changes of its details.
OTHER_MEMBERS = [
    ({"COM_CD": "1002", "CENTER_CD": "31102", "COM_NM": "늘봄방문요양센터", "CON_DIV": 3,
      "MEMBER_WRITE_COM": 1, "MEMBER_APP_USE": 9},
     {"MEMBER_ID": "nulbom1002", "MEMBER_PW": "spring#77"}),
    ({"COM_CD": "1003", "CENTER_CD": "31103", "COM_NM": "푸른솔주야간보호센터", "CON_DIV": 3,
      "MEMBER_WRITE_COM": 0, "MEMBER_APP_USE": 0},
     {"MEMBER_ID": "pureunsol1003", "MEMBER_PW": "pine@1003"}),
]

# Chart of accounts of a long-term-care facility: (code, class, name);
# class 1 income, 2 expense.
ACCOUNTS = [
    ("101", 1, "장기요양급여수입"),
    ("102", 1, "본인부담금수입"),
    ("103", 1, "비급여수입"),
    ("111", 1, "보조금수입"),
    ("121", 1, "후원금수입"),
    ("131", 1, "법인전입금"),
    ("141", 1, "전년도이월금"),
    ("151", 1, "이자수입"),
    ("152", 1, "기타잡수입"),
    ("201", 2, "급여"),
    ("202", 2, "제수당"),
    ("203", 2, "일용잡급"),
    ("204", 2, "퇴직금및퇴직적립금"),
    ("205", 2, "사회보험부담비용"),
    ("206", 2, "기타후생경비"),
    ("211", 2, "기관운영비"),
    ("212", 2, "직책보조비"),
    ("213", 2, "회의비"),
    ("221", 2, "여비"),
    ("222", 2, "수용비및수수료"),
    ("223", 2, "공공요금및제세공과금"),
    ("224", 2, "차량비"),
    ("225", 2, "기타운영비"),
    ("231", 2, "시설비"),
    ("232", 2, "자산취득비"),
    ("233", 2, "시설장비유지비"),
    ("241", 2, "생계비"),
    ("242", 2, "의료비"),
    ("243", 2, "프로그램사업비"),
    ("251", 2, "잡지출"),
    ("261", 2, "반환금"),
]

BUSINESSES = [("01", "방문요양사업"), ("02", "방문목욕사업"), ("03", "주야간보호사업")]

# (code, name, colour as &HBBGGRR in decimal, business)
BANKS = [
    ("001", "운영비 보통예금 301-0512-4478-61", 0xC0FFFF, "01"),
    ("002", "급여 보통예금 110-482-613579", 0xC0FFC0, "01"),
    ("003", "주야간보호 전용계좌 052-117804-01-018", 0xFFE0C0, "03"),
]

SURNAMES = "김이박최정강조윤장임한오서신권황안송류홍전고문손양배백허남심노하곽성차주우구민유나진지엄채원천방공현함변염여추도소석선설마길연위표명기반라왕금옥육인맹제모탁국어은편용"
GIVEN = ["영자", "순자", "정숙", "말순", "옥희", "복순", "춘자", "금순", "점례", "정자", "영수",
         "상철", "병호", "길수", "명숙", "숙자", "귀남", "순덕", "분이", "봉순", "두식", "만복"]
STAFF_GIVEN = ["지영", "미경", "은정", "수진", "현숙", "미란", "경희", "선영", "혜진", "정미",
               "윤희", "미숙", "성희", "은주", "명희"]

BRANCHES = ["인터넷뱅킹", "타행이체", "CMS", "창구", "ATM", "펌뱅킹", "자동이체", "체크카드"]


def month_text(d: _dt.date) -> str:
    return f"{d.year:04d}.{d.month:02d}"


def add_months(d: _dt.date, n: int) -> _dt.date:
    y, m = divmod(d.year * 12 + (d.month - 1) + n, 12)
    return _dt.date(y, m + 1, 1)


def months(today: _dt.date) -> dict:
    """The ledger's months relative to the server's date."""
    first = _dt.date(today.year, today.month, 1)
    return {
        "hidden": month_text(first),                    # not yet released (TRANS_DIV 0)
        "ledger": month_text(add_months(first, -1)),    # where the ledger opens
        "previous": month_text(add_months(first, -2)),
        "closed": month_text(add_months(first, -3)),    # already sent for closing
    }


def q(text) -> str:
    """SQL literal; the demo texts are ours, but quote them properly anyway."""
    if text is None:
        return "NULL"
    if isinstance(text, int):
        return str(text)
    return "'" + str(text).replace("\\", "\\\\").replace("'", "''") + "'"


def enc(text: str, key: str) -> str:
    return f"HEX(AES_ENCRYPT({q(text)}, {q(key)}))"


def _insert(table: str, row: dict, raw: dict | None = None) -> str:
    cols = list(row) + list(raw or {})
    vals = [q(v) for v in row.values()] + list((raw or {}).values())
    return f"INSERT INTO {table} ({', '.join(cols)}) VALUES ({', '.join(vals)});"


def members_sql(crypt_key: str, info_key: str) -> list[str]:
    out = []
    secrets = {c: enc(v, info_key if c not in ("MEMBER_ID", "MEMBER_PW") else crypt_key)
               for c, v in COMPANY_SECRETS.items()}
    out.append(_insert("COM_LIST", COMPANY, secrets))
    for plain, sec in OTHER_MEMBERS:
        out.append(_insert("COM_LIST", plain, {c: enc(v, crypt_key) for c, v in sec.items()}))
    return out


def code_lists_sql(com_cd: str) -> list[str]:
    out = []
    for code, cls, name in ACCOUNTS:
        out.append(_insert("SET_ACCOUNT_LIST", {"COM_CD": com_cd, "ACC_CD": code,
                                                "ACC_GUBUN": cls, "ACC_NM": name}))
    for code, name in BUSINESSES:
        out.append(_insert("SET_BUSI_LIST", {"COM_CD": com_cd, "BUSI_CD": code, "BUSI_NM": name}))
    for code, name, colour, _ in BANKS:
        out.append(_insert("SET_BANK_LIST", {"COM_CD": com_cd, "BANK_CD": code,
                                             "BANK_NM": name, "BANK_COLOR": str(colour)}))
    return out


class _Entry:
    __slots__ = ("day", "bank", "busi", "acc", "summ", "cust", "target", "inc", "out",
                 "branch", "receipt", "parts")

    def __init__(self, day, bank, busi, acc, summ, cust, target="", inc=0, out=0,
                 branch="인터넷뱅킹", receipt=0, parts=None):
        self.day, self.bank, self.busi, self.acc = day, bank, busi, acc
        self.summ, self.cust, self.target = summ, cust, target
        self.inc, self.out, self.branch, self.receipt = inc, out, branch, receipt
        # Split parts: list of (account, summary, amount); the source keeps the rest.
        self.parts = parts or []


def _person(rng: random.Random, given=GIVEN) -> str:
    return rng.choice(SURNAMES) + rng.choice(given)


def _won(rng: random.Random, low: int, high: int, step: int = 10) -> int:
    return rng.randrange(low // step, high // step + 1) * step


def _month_entries(rng: random.Random, year: int, month: int, count: int,
                   roster: tuple[list[str], list[str]] | None = None) -> list[_Entry]:
    """About `count` bank entries of one month, realistic for a home-care centre.

    `roster` (residents, staff) keeps the same people from month to month; without it
    the month draws its own."""
    days = (add_months(_dt.date(year, month, 1), 1) - _dt.timedelta(days=1)).day
    if roster:
        clients, staff = roster
    else:
        clients = [_person(rng) for _ in range(40)]
        staff = [_person(rng, STAFF_GIVEN) for _ in range(14)]
    e: list[_Entry] = []
    add = e.append

    # Operating account 001: the agency's payments, co-payments, running costs.
    for n in range(rng.randint(3, 5)):
        add(_Entry(rng.randint(18, 26), "001", "01", "101", f"장기요양급여 {month}월분 {n + 1}차",
                   "국민건강보험공단", inc=_won(rng, 2_500_000, 9_800_000, 10), branch="타행이체"))
    for who in rng.sample(clients, 30):
        add(_Entry(rng.randint(1, days), "001", rng.choice(["01", "01", "02"]), "102",
                   "본인부담금 입금", who, target=who, inc=_won(rng, 38_000, 310_000, 10),
                   branch=rng.choice(["CMS", "타행이체", "인터넷뱅킹"])))
    for _ in range(3):
        add(_Entry(rng.randint(1, days), "001", "01", "103", "비급여 식대", rng.choice(clients),
                   inc=_won(rng, 20_000, 90_000, 1000), branch="타행이체"))
    add(_Entry(days, "001", "01", "151", "예금이자", "", inc=_won(rng, 1_200, 9_800, 1), branch="결산"))
    shops = [("늘푸른마트", "241", "부식 구입"), ("새봄문구", "222", "사무용품 구입"),
             ("사랑약국", "242", "상비약 구입"), ("한빛주유소", "224", "차량 주유"),
             ("다온인쇄", "222", "안내문 인쇄"), ("우리철물", "233", "시설 소모품"),
             ("행복떡집", "211", "어르신 간식"), ("맑은물상사", "241", "생수 구입")]
    for _ in range(34):
        cust, acc, summ = rng.choice(shops)
        add(_Entry(rng.randint(1, days), "001", "01", acc, summ, cust,
                   out=_won(rng, 8_000, 240_000, 10), branch="체크카드", receipt=rng.random() < 0.7))
    for _ in range(12):
        add(_Entry(rng.randint(1, days), "001", "01", "222", "이체수수료", "", out=500, branch="인터넷뱅킹"))
    bills = [("전기요금", "전력공급사"), ("수도요금", "상수도사업본부"), ("전화요금", "통신사"),
             ("인터넷요금", "통신사"), ("도시가스요금", "도시가스")]
    for summ, cust in bills:
        add(_Entry(rng.randint(10, 25), "001", "01", "223", summ, cust,
                   out=_won(rng, 25_000, 310_000, 10), branch="자동이체", receipt=1))
    add(_Entry(rng.randint(1, 10), "001", "01", "225", "사무실 임대료", "햇살빌딩관리", out=1_300_000,
               branch="자동이체", receipt=1))
    add(_Entry(rng.randint(5, 15), "001", "01", "224", "차량 보험료", "손해보험",
               out=_won(rng, 80_000, 120_000, 10), branch="자동이체", receipt=1))
    add(_Entry(rng.randint(1, days), "001", "01", "213", "운영위원회 다과", "행복떡집",
               out=_won(rng, 40_000, 90_000, 100), branch="체크카드", receipt=1))
    add(_Entry(25, "001", "01", "", "급여통장 이체", "햇살가득재가복지센터",
               out=_won(rng, 24_000_000, 29_000_000, 1000), branch="인터넷뱅킹"))
    # A card statement paying several kinds of expense: the split case.
    add(_Entry(rng.randint(12, 16), "001", "01", "241", "법인카드 결제대금", "카드사",
               out=_won(rng, 420_000, 780_000, 10), branch="자동이체", receipt=1,
               parts=[("222", "사무용품", _won(rng, 40_000, 90_000, 10)),
                      ("224", "주유비", _won(rng, 60_000, 140_000, 10))]))
    add(_Entry(rng.randint(1, days), "001", "01", "261", "본인부담금 환불", rng.choice(clients),
               out=_won(rng, 10_000, 60_000, 10), branch="인터넷뱅킹"))

    # Salary account 002.
    add(_Entry(25, "002", "01", "", "운영비통장에서 이체", "햇살가득재가복지센터",
               inc=_won(rng, 24_000_000, 29_000_000, 1000), branch="인터넷뱅킹"))
    for who in staff:
        pay = _won(rng, 1_150_000, 2_350_000, 10)
        add(_Entry(25, "002", rng.choice(["01", "01", "02"]), "201", f"{month}월 급여", who,
                   target=who, out=pay, branch="인터넷뱅킹",
                   parts=[("202", "처우개선수당", _won(rng, 50_000, 150_000, 1000))]
                   if rng.random() < 0.25 else None))
    for summ in ("국민연금", "건강보험", "고용보험", "산재보험"):
        add(_Entry(10, "002", "01", "205", f"{summ} 사업장부담분", "사회보험징수기관",
                   out=_won(rng, 150_000, 900_000, 10), branch="자동이체", receipt=1))
    add(_Entry(26, "002", "01", "204", "퇴직적립금 납입", "퇴직연금사업자",
               out=_won(rng, 1_200_000, 2_100_000, 10), branch="자동이체", receipt=1))
    add(_Entry(20, "002", "01", "206", "직원 건강검진", "건강검진센터",
               out=_won(rng, 90_000, 300_000, 10), branch="체크카드", receipt=1))

    # Day-care account 003.
    add(_Entry(rng.randint(18, 24), "003", "03", "101", f"주야간보호 급여 {month}월분", "국민건강보험공단",
               inc=_won(rng, 6_000_000, 11_000_000, 10), branch="타행이체"))
    add(_Entry(rng.randint(5, 12), "003", "03", "111", "운영 보조금", "구청",
               inc=_won(rng, 1_000_000, 2_500_000, 10000), branch="타행이체"))
    add(_Entry(rng.randint(1, days), "003", "03", "121", "정기후원금", "지역후원회",
               inc=_won(rng, 100_000, 500_000, 10000), branch="CMS"))
    for who in rng.sample(clients, 8):
        add(_Entry(rng.randint(1, days), "003", "03", "102", "주야간보호 본인부담금", who, target=who,
                   inc=_won(rng, 90_000, 420_000, 10), branch="CMS"))
    day_shops = [("늘푸른마트", "241", "점심 부식"), ("바른식품", "241", "식재료 구입"),
                 ("미술나라", "243", "프로그램 재료"), ("한빛주유소", "224", "송영차량 주유"),
                 ("사랑약국", "242", "의약품"), ("청결상사", "225", "위생용품")]
    for _ in range(24):
        cust, acc, summ = rng.choice(day_shops)
        add(_Entry(rng.randint(1, days), "003", "03", acc, summ, cust,
                   out=_won(rng, 12_000, 310_000, 10), branch="체크카드", receipt=rng.random() < 0.8))
    add(_Entry(rng.randint(1, days), "003", "03", "251", "기타 지출", "",
               out=_won(rng, 3_000, 30_000, 10), branch="ATM"))

    if roster:
        # Irregular purchases: new shops, one-off items, accounts a bookkeeper decides
        # case by case.
        one_off = [("가전나라", "233", "세탁기 수리"), ("온누리몰", "222", "복사용지 구입"),
                   ("온누리몰", "243", "프로그램 교구 구입"), ("온누리몰", "241", "생필품 구입"),
                   ("대한가구", "232", "사무용 의자 구입"), ("소방안전", "233", "소화기 점검"),
                   ("", "251", "현금 인출"), ("꽃집 향기", "213", "행사 꽃다발"),
                   ("서울택시", "221", "출장 교통비"), ("한마음식당", "213", "직원 회의 식대")]
        for _ in range(rng.randint(3, 7)):
            cust, acc, summ = rng.choice(one_off)
            add(_Entry(rng.randint(1, days), "001", "01", acc, summ, cust,
                       out=_won(rng, 9_000, 480_000, 10), branch=rng.choice(["체크카드", "인터넷뱅킹"]),
                       receipt=1))

    # Trim or pad to roughly the requested size with small operating expenses.
    while len(e) < count:
        cust, acc, summ = rng.choice(shops)
        add(_Entry(rng.randint(1, days), "001", "01", acc, summ, cust,
                   out=_won(rng, 5_000, 90_000, 10), branch="체크카드", receipt=1))
    return e


HISTORY_MONTHS = 21


def _rosters(com_cd: str, first: _dt.date, n: int) -> list[tuple[list[str], list[str]]]:
    """The centre's residents and staff over `n` months from `first`: the same people,
    with a few residents leaving and arriving each month and staff changing rarely."""
    rng = random.Random(f"{com_cd}-roster")
    clients = [_person(rng) for _ in range(40)]
    staff = [_person(rng, STAFF_GIVEN) for _ in range(14)]
    out = []
    for _ in range(n):
        for _ in range(rng.randint(0, 3)):
            clients[rng.randrange(len(clients))] = _person(rng)
        if rng.random() < 0.15:
            staff[rng.randrange(len(staff))] = _person(rng, STAFF_GIVEN)
        out.append((list(clients), list(staff)))
    return out


def ledger_sql(com_cd: str, today: _dt.date, entries_per_month: int = 150) -> list[str]:
    """Two years of the centre's ledger: older months already sent for closing, the three
    released months (the oldest sent for closing) and an unreleased current month."""
    ms = months(today)
    first = _dt.date(today.year, today.month, 1)
    history = [month_text(add_months(first, -3 - k)) for k in range(HISTORY_MONTHS, 0, -1)]
    rosters = dict(zip(history, _rosters(com_cd, add_months(first, -3 - HISTORY_MONTHS), HISTORY_MONTHS)))
    plan = [(mon, 1, entries_per_month, False) for mon in history]
    plan += [(ms["closed"], 1, entries_per_month, False),
            (ms["previous"], 9, entries_per_month, False),
            (ms["ledger"], 9, entries_per_month, True),
            (ms["hidden"], 0, 20, False)]
    out = []
    bank_order = {b[0]: i for i, b in enumerate(BANKS)}
    for mon, trans_div, count, open_work in plan:
        year, month = int(mon[:4]), int(mon[5:])
        rng = random.Random(f"{com_cd}-{mon}")
        entries = _month_entries(rng, year, month, count, rosters.get(mon))
        if mon == ms["hidden"]:
            entries = [x for x in entries if x.day <= max(1, today.day)][:count]
        # Entry codes follow the bank, then the date: one bank's rows stay together.
        entries.sort(key=lambda x: (bank_order[x.bank], x.day, x.out > 0))
        balance = {b[0]: 12_000_000 + 1_000_000 * i for i, b in enumerate(BANKS)}
        for n, x in enumerate(entries, start=1):
            deal_cd = f"{n:05d}"
            balance[x.bank] += x.inc - x.out
            acc = x.acc
            # The month being worked on still has entries waiting for an account.
            if open_work and x.parts == [] and rng.random() < 0.15:
                acc = ""
            cls = 1 if x.inc > 0 else 2
            day = x.day
            regdt = f"{year:04d}-{month:02d}-{day:02d} 09:{n % 60:02d}:00"
            row = {
                "COM_CD": com_cd, "DEAL_MON": mon, "DEAL_CD": deal_cd, "DEAL_CD_2": "001",
                "DACC_GUBUN": cls, "DEAL_DT": f"{year:04d}.{month:02d}.{day:02d}",
                "DBUSI_CD": x.busi, "DACC_CD": acc, "DBANK_CD": x.bank,
                "DEAL_SUMM": x.summ, "DEAL_CUST": x.cust, "DEAL_TARGET": x.target,
                "DEAL_IN_AMT": x.inc, "DEAL_OUT_AMT": x.out, "DEAL_BALANCE": balance[x.bank],
                "DEAL_GUBUN": x.branch, "F_DAMNM": "은행연동", "F_REGDT": regdt,
                "L_DAMNM": "", "L_REGDT": "", "RECEIPT_DIV": int(bool(x.receipt)),
                "TRANS_DIV": trans_div,
            }
            rest_in, rest_out = x.inc, x.out
            parts = []
            for k, (pacc, psumm, amt) in enumerate(x.parts, start=2):
                if cls == 1:
                    rest_in -= amt
                else:
                    rest_out -= amt
                part = dict(row)
                part.update({"DEAL_CD_2": f"{k:03d}", "DACC_CD": pacc, "DEAL_SUMM": psumm,
                             "DEAL_IN_AMT": amt if cls == 1 else 0,
                             "DEAL_OUT_AMT": amt if cls == 2 else 0,
                             "F_DAMNM": "센터담당자"})
                parts.append(part)
            row["DEAL_IN_AMT"], row["DEAL_OUT_AMT"] = rest_in, rest_out
            out.append(_insert("DEAL_LIST", row))
            out.extend(_insert("DEAL_LIST", p) for p in parts)
    return out


def file_transfers_sql(com_cd: str, today: _dt.date) -> list[str]:
    ms = months(today)
    rows = [
        (ms["previous"], "요양급여 청구 자료", "지난달 청구 내역입니다.", 2),
        (ms["ledger"], "통장 사본", "급여통장 사본 보내드립니다.", 1),
        (ms["ledger"], "영수증 묶음", "법인카드 영수증 스캔본", 3),
    ]
    out = []
    for mon, title, memo, nfiles in rows:
        stamp = f"{mon.replace('.', '')}15103000"
        dt = f"{mon}.15 10:30:00"
        stored = "".join(f"|{com_cd}_{stamp}_{k}" for k in range(1, nfiles + 1))
        picked = "".join(f"|자료{k}.pdf" for k in range(1, nfiles + 1))
        sizes = "".join(f"|{120_000 * k + 517}" for k in range(1, nfiles + 1))
        out.append(_insert("TRANS_FILE_LIST", {"COM_CD": com_cd, "REG_MON": mon,
                                               "TRANS_TITLE": title, "TRANS_MEMO": memo,
                                               "File_NM": stored, "SIL_FILE_NM": picked,
                                               "FILE_SIZE": sizes, "TRANS_DT": dt}))
    return out


def build_sql(today: _dt.date, crypt_key: str, info_crypt_key: str, version: str,
              installer_size: int) -> str:
    """All demo rows as one SQL script (UTF-8 text; load it with a utf8mb4 client)."""
    com_cd = COMPANY["COM_CD"]
    stmts = [_insert("M_VERSION_INFO_VETRA_MEMBER",
                     {"VETRA_MEMBER_V": version, "FILE_SIZE": str(installer_size)})]
    stmts += members_sql(crypt_key, info_crypt_key)
    for plain, _ in [(COMPANY, None)] + OTHER_MEMBERS:
        stmts += code_lists_sql(plain["COM_CD"])
    stmts += ledger_sql(com_cd, today)
    stmts += file_transfers_sql(com_cd, today)
    return "\n".join(stmts) + "\n"


def summary(today: _dt.date) -> dict:
    """Facts the tests and the demo script want to know without querying."""
    ms = months(today)
    info = {"COM_CD": COMPANY["COM_CD"], "COM_NM": COMPANY["COM_NM"],
            "MEMBER_ID": COMPANY_SECRETS["MEMBER_ID"], "MEMBER_PW": COMPANY_SECRETS["MEMBER_PW"],
            "LEDGER_MONTH": ms["ledger"], "PREVIOUS_MONTH": ms["previous"],
            "CLOSED_MONTH": ms["closed"], "HIDDEN_MONTH": ms["hidden"]}
    (m2, s2), (m3, s3) = OTHER_MEMBERS
    info.update({"MAINT_COM_CD": m2["COM_CD"], "MAINT_MEMBER_ID": s2["MEMBER_ID"],
                 "MAINT_MEMBER_PW": s2["MEMBER_PW"], "READONLY_COM_CD": m3["COM_CD"],
                 "READONLY_MEMBER_ID": s3["MEMBER_ID"], "READONLY_MEMBER_PW": s3["MEMBER_PW"]})
    return info
