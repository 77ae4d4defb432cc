#!/usr/bin/env python3
"""Writes the hand-made seed corpora of the harnesses: fuzz/corpus/<harness>/<name>.

Form seeds are text: a line with the item and mode digits, then one line per input text.
Engine seeds are bytes in the harness's encoding: a function byte, then its arguments, each
double either a table value of fuzz_input.h or a raw bit pattern."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(harness, name, data):
    folder = os.path.join(HERE, "corpus", harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8", "surrogateescape"))


def form(name, item, mode, *inputs):
    text = f"{item}{mode}\n" + "\n".join(inputs)
    write("form_fuzz", name, text.encode("utf-8") if isinstance(text, str) else text)


def form_bytes(name, data):
    write("form_fuzz", name, data)


# One seed per item and mode at an ordinary point, then the range limits of each.
form("sat_water_p_0.1", 0, 0, "0.1")
form("sat_water_p_min", 0, 0, "0.0007")
form("sat_water_p_below", 0, 0, "0.00069")
form("sat_water_p_critical", 0, 0, "22.12")
form("sat_water_p_above", 0, 0, "22.12002")
form("sat_water_t_100", 0, 1, "100")
form("sat_water_t_min", 0, 1, "0.01")
form("sat_water_t_below", 0, 1, "0.0099")
form("sat_water_t_critical", 0, 1, "374.15")
form("sat_water_t_above", 0, 1, "374.1502")
form("sat_water_t_switch", 0, 1, "350.0000005")
form("sat_steam_p_1", 1, 0, "1")
form("sat_steam_p_switch", 1, 0, "16.6")
form("sat_steam_p_critical", 1, 0, "22.119995")
form("sat_steam_t_200", 1, 1, "200")
form("sat_steam_t_near_critical", 1, 1, "374.14995")
form("pt_water", 2, 0, "0.1", "20")
form("pt_steam", 2, 0, "0.1", "400")
form("pt_saturated", 2, 0, "0.101325", "100")
form("pt_critical", 2, 0, "22.12", "374.15")
form("pt_corner_high", 2, 0, "100", "800")
form("pt_corner_low", 2, 0, "0.0007", "0.01")
form("pt_outside", 2, 0, "200", "-1")
form("pt_region3", 2, 0, "25", "400")
form("pt_region4", 2, 0, "19", "360")
form("ps_wet", 2, 1, "1", "4.5")
form("ps_steam", 2, 1, "1", "7")
form("ps_water", 2, 1, "10", "1")
form("ps_supercritical", 2, 1, "30", "5")
form("ps_critical_pressure", 2, 1, "22.12", "4.4429")
form("ps_outside", 2, 1, "0.1", "20")
form("ph_wet", 2, 2, "1", "1500")
form("ph_steam", 2, 2, "0.1", "3000")
form("ph_water", 2, 2, "10", "500")
form("ph_supercritical", 2, 2, "25", "2000")
form("ph_tolerance_switch", 2, 2, "0.0250239", "1000")
form("ts_wet", 2, 3, "200", "4")
form("ts_steam", 2, 3, "400", "7")
form("ts_water", 2, 3, "100", "1")
form("ts_critical", 2, 3, "374.15", "4.4429")
form("ts_supercritical", 2, 3, "300", "3")
form("th_two_solutions", 2, 4, "300", "1340")
form("ts_entropy_ten_above_critical", 2, 3, "374.17", "10")  # once stopped on a refused trial
form("th_steam", 2, 4, "400", "3000")
form("th_critical", 2, 4, "374.15", "2107.4")
form("th_none_above_critical", 2, 4, "400", "1000")
form("th_low", 2, 4, "100", "0.5")
form("isentropic_p", 3, 0, "10", "500", "0.1")
form("isentropic_p_equal", 3, 0, "1", "300", "1")
form("isentropic_p_minimum", 3, 0, "1", "300", "0.00005")
form("isentropic_p_below_range", 3, 0, "1", "300", "0.0005")
form("isentropic_t", 3, 1, "10", "500", "100")
form("isentropic_t_start_outside", 3, 1, "10", "900", "100")
# Texts a user can type or paste: not numbers, partial numbers, overflowing and underflowing.
form("text_letters", 0, 0, "abc")
form("text_comma", 2, 0, "1,5", "300")
form("text_blank", 0, 1, " ")
form("text_spaces_sign", 2, 0, " \t+.5e1", "-0")
form("text_exponent_dangling", 2, 2, "1e", "2.e+")
form("text_overflow", 2, 0, "1e400", "-1e400")
form("text_underflow", 2, 1, "1e-400", "1e-40")
form("text_float_overflow", 2, 4, "3.5e38", "-3.5e38")
form("text_inf_nan_hex", 2, 3, "inf", "nan", "0x10")
form("text_long_digits", 2, 0, "0." + "0" * 3000 + "1e3000", "1" * 400)
form_bytes("text_not_utf8", b"20\n\xff\xfe1.5\n\xc3(300\x00\n")
form_bytes("text_control", b"31\n\x0b\x0c10\r\n500\x7f\n\x1b[100")
form_bytes("text_other_bytes", b"\xf3\xa7\n\x80\x81\x82")
# Rounds on one form: a two-solution result, then another item with Calculate disabled, where
# button 2 shows the stored second solution; then a new Calculate.
form("rounds_second_solution_kept", 2, 4, "300", "1340", "", "30", "", "", "", "20", "1", "7", "")

# Engine seeds.
T = [0.01, 800.0, 374.15, 374.1501, 374.1499, 374.15001, 374.14999, 350.0, 350.000001,
     349.999999, 350.00001, 590.0, 0.1, 100.0, 99.99993, 0.00001, 360.0, 370.0]
P = [0.0007, 100.0, 22.12, 22.12001, 22.11999, 22.120001, 22.119999, 22.119995, 0.001, 0.0001,
     0.1, 0.101325, 16.5, 16.535124, 16.6, 40.0, 36.0, 0.0250239, 0.02, 0.03, 8.0, 5.0, 1.0,
     0.00069]


def raw(value):
    """A double as a raw bit pattern (how byte 0, then 8 big-endian bytes)."""
    return bytes([0]) + struct.pack(">d", value)


def raw_float(value):
    """A float argument as a raw bit pattern (selector 0, then 4 big-endian bytes)."""
    return bytes([0]) + struct.pack(">f", value)


def engine(name, data):
    write("engine_fuzz", name, data)


for i, t in enumerate(T):
    engine(f"sat_pressure_{t}", bytes([0]) + raw(t))
for p in P:
    engine(f"sat_temperature_{p}", bytes([1]) + raw(p))
for t, p in [(0.01, 0.0007), (800, 100), (374.15, 22.12), (374.1, 22.12), (360, 19), (400, 25),
             (300, 30), (20, 0.1), (400, 0.1), (350, 16.535124), (590, 50), (100, 0.101325)]:
    engine(f"region_{t}_{p}", bytes([2, 0]) + raw(t) + raw(p) + bytes([0]))
    for kind in range(3):
        engine(f"point_{t}_{p}_{kind + 1}", bytes([5, 0]) + raw(t) + raw(p) + bytes([kind]))
for t in [350.0, 350.000001, 360.0, 374.14995, 374.15, 0.01]:
    engine(f"sat_steam_t_{t}", bytes([3, 1, 1]) + raw(t) + bytes([2]))
    engine(f"sat_water_t_{t}", bytes([3, 1, 0]) + raw(t) + bytes([2]))
for p in [16.5, 16.6, 22.119995, 22.12, 0.0007]:
    engine(f"sat_steam_p_{p}", bytes([3, 0, 1]) + raw(p) + bytes([0]))
    # Entropy between the saturated values (dryness 0.5 of the two), wanted enthalpy.
    engine(f"quality_p_{p}", bytes([4, 0]) + raw(p) + bytes([1]) + raw(5.0) + bytes([0]) +
           raw(0.5) + bytes([2]))
for p, s in [(1, 4.5), (1, 7), (10, 1), (30, 5), (22.12, 4.4429), (0.1, 20), (0.0007, 9.0)]:
    engine(f"ps_{p}_{s}", bytes([6]) + raw(p) + bytes([0]) + raw(s))
for p, h in [(1, 1500), (0.1, 3000), (10, 500), (25, 2000), (0.0250239, 1000), (22.12, 2107.4)]:
    engine(f"ph_{p}_{h}", bytes([7]) + raw(p) + bytes([0]) + raw(h))
for t, s in [(200, 4), (400, 7), (100, 1), (374.15, 4.4429), (300, 3), (800, 7.5), (0.01, 0)]:
    engine(f"ts_{t}_{s}", bytes([8]) + raw(t) + bytes([0]) + raw(s))
# Findings: s = 10 above 374.15 °C once ended on the sentinel of a refused trial; just below
# 374.15 °C h' exceeds h'' and the wet slot of the (t, h) solver is flagged.
engine("finding_ts_sentinel_collision", bytes([8]) + raw(374.1501) + bytes([0]) + raw(10.0))
engine("finding_th_wet_slot_flagged", bytes([9]) + raw(374.1499) + bytes([0]) + raw(2105.5157224293698))
for t, h in [(300, 1340), (400, 3000), (374.15, 2107.4), (400, 1000), (100, 0.5), (370, 1800)]:
    engine(f"th_{t}_{h}", bytes([9]) + raw(t) + bytes([0]) + raw(h))
for which, arg in [(0, 1.0), (1, 0.007), (2, 221.2), (7, 100.0), (11, 374.15), (8, 0.0099)]:
    by_pressure = bytes([0]) if which < 7 else b""
    engine(f"entry_{which}_{arg}", bytes([10, which]) + by_pressure + raw_float(arg))
for t1, p1, p2 in [(500, 10, 0.1), (300, 1, 1), (300, 1, 0.00005), (300, 1, 0.0005), (900, 10, 1)]:
    engine(f"isentropic_{t1}_{p1}_{p2}", bytes([11]) + raw_float(t1) + raw_float(p1) +
           raw_float(p2) + bytes([0]))
# Special values: NaN, infinities, −0, denormals through the kAny table, for every function.
for fn in range(12):
    for k, label in [(0, "nan"), (2, "inf"), (3, "minus_inf"), (5, "minus_zero"), (6, "denormal")]:
        extreme = bytes([64, k])
        engine(f"extreme_{fn}_{label}", bytes([fn]) + extreme * 6)

# IF97 seeds: a call byte, then its arguments as if97_fuzz.cpp reads them.
def if97(name, data):
    write("if97_fuzz", name, data)


def if97_t(t):
    return bytes([0]) + raw(t)


def if97_p(p):
    return bytes([0]) + raw(p)


def if97_state(t, p):
    """h or s of the state at (p, t), exact."""
    return bytes([64]) + if97_t(t) + if97_p(p) + bytes([0])


for t, p in [(20, 1), (300, 1), (360, 25), (370, 20), (373.946, 22.064), (400, 30), (1500, 10),
             (0, 1e-6), (800, 100), (2000, 50)]:
    if97(f"pt_{t}_{p}", bytes([0]) + if97_t(t) + if97_p(p))
    if97(f"ph_{t}_{p}", bytes([1]) + if97_t(t) + if97_p(p) + if97_state(t, p))
    if97(f"ps_{t}_{p}", bytes([2]) + if97_t(t) + if97_p(p) + if97_state(t, p))
    if97(f"th_{t}_{p}", bytes([3]) + if97_t(t) + if97_state(t, p))
    if97(f"ts_{t}_{p}", bytes([4]) + if97_t(t) + if97_state(t, p))
for t in [100, 360, 373.94599]:  # on the line of t (pressure selector 128), both phases
    if97(f"pt_line_{t}", bytes([0]) + if97_t(t) + bytes([128, 0]))
    if97(f"sat_t_{t}", bytes([5, 0]) + if97_t(t))
for t in [400, 590]:  # on the 2-3 boundary of t
    if97(f"pt_b23_{t}", bytes([0]) + if97_t(t) + bytes([192, 0]))
if97("th_two_roots_100", bytes([3]) + if97_t(100) + bytes([0, 0]) + struct.pack(">d", 420.0))
if97("ts_three_roots_2", bytes([4]) + if97_t(2) + bytes([0, 0]) + struct.pack(">d", 0.03065))
if97("isentropic_10_500_0.01", bytes([6]) + if97_t(500) + if97_p(10) + if97_t(0) + if97_p(0.01))
# Findings: t returned as given by SaturationByT; the line held at pc at Tc; h'' given at p
# (a wet state of dryness 1, the saturated vapour); rounding noise 4e-14 MPa above ps(350 °C);
# a near-critical h' within the density's noise of the target; a saturated vapour found twice.
if97("finding_saturation_t_as_given", bytes([5, 0]) + if97_t(373.94599))
if97("finding_line_held_at_pc", bytes([5, 0]) + if97_t(373.946))
if97("finding_dryness_one", bytes([0]) + if97_t(102.234375) + if97_p(0.10977607620158494))
if97("finding_noise_above_ps350", bytes([0]) + if97_t(349.9999999999996) + if97_p(16.529164252604552))
if97("finding_near_critical_liquid_end",
     bytes([0]) + if97_t(373.93750000093809) + if97_p(22.061721081473245))
if97("finding_saturated_vapour_twice",
     bytes([4]) + if97_t(350.0000000000004) + bytes([0, 0]) + struct.pack(">d", 5.2109515701253084))
for k, label in [(0, "nan"), (2, "inf"), (5, "minus_zero"), (6, "denormal")]:
    for fn in range(7):
        if97(f"extreme_{fn}_{label}", bytes([fn]) + bytes([0, 64, k]) * 6)

# Batch seeds: lines as a batch file holds them.
def batch(name, data):
    write("batch_fuzz", name, data if isinstance(data, bytes) else data.encode("utf-8"))


batch("every_item", "0\t0\t0.1\n1\t1\t200\n2\t0\t1\t300\n3\t0\t10\t500\t0.1\n3\t1\t10\t500\t100\n")
batch("item_texts", "饱和水\t温度\t100\n任意状态水或水蒸汽\t温度和焓\t300\t1340\n")
batch("any_state_modes", "2\t1\t1\t4.5\n2\t2\t1\t1500\n2\t3\t200\t4\n2\t4\t400\t1000\n")
batch("comments_blank_crlf_bom", "\xEF\xBB\xBF# comment\r\n\r\n   \n0\t1\t100\r\n0\t1\t100")
batch("errors", "9\t0\t1\n0\t7\t1\n2\t0\t1\n0\t0\t1\t2\t3\t4\t5\n\xff\x01\t0\t1\n")
batch("texts", "2\t0\t1e400\t-1e400\n2\t1\t1e-400\tabc\n0\t0\t \n")
