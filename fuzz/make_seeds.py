#!/usr/bin/env python3
"""Writes the hand-made seed corpora of the harnesses: fuzz/corpus/<harness>/<name>.

Form seeds are text: a line with the item and mode digits, then one line per input text.
Engine seeds are bytes in the engine harness's encoding, calls of raw doubles."""
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

# Engine seeds, one call each: function, kind 3 and by-temperature bytes, a, b and a third double
# (IsentropicEndH's t1, a solver's second point) as raw bits, a zero byte; and NaN, infinities.
def raw(*xs):
    return b"".join(b"\0" + struct.pack("<d", x) for x in xs)


ENGINE = [
    ("sat_pressure", [(100, 0), (0.0099, 0)]), ("sat_temperature", [(0.1, 0), (22.11, 0)]),
    ("find_region", [(360, 19), (589.99997, 100)]), ("sat_prop", [(350.0000005, 0), (374.15, 0)]),
    ("quality", [(100, 0.5), (374.14995, 0.5)]), ("point_prop", [(374.15, 22.12), (100, 0.101325)]),
    ("entry_point", [(1.0, 0), (0.005, 0)]), ("isentropic", [(100, 1), (10, 10)]),
    ("t_from_ps", [(1, 4.5), (22.12, 3.5)]), ("t_from_ph", [(22.05, 2002.535), (0.1, 0.5)]),
    ("p_from_ts", [(374.15, 4.3), (382.2901, 10)]), ("p_from_th", [(374.14, 2122.82), (100, 424)]),
    ("pure_and_volume", [(360, 0.001), (380, 25)])]
for fn, (name, pairs) in enumerate(ENGINE):
    for a, b in pairs + [(float("nan"), float("inf"))]:
        engine = bytes([fn, 2, 1]) + raw(a, b, 500 if a == a else float("-inf")) + b"\0"
        write("engine_fuzz", f"{name}_{a}_{b}", engine)

# Batch seeds: lines as a batch file holds them.
def batch(name, data):
    write("batch_fuzz", name, data if isinstance(data, bytes) else data.encode("utf-8"))


batch("every_item", "0\t0\t0.1\n1\t1\t200\n2\t0\t1\t300\n3\t0\t10\t500\t0.1\n3\t1\t10\t500\t100\n")
batch("item_texts", "饱和水\t温度\t100\n任意状态水或水蒸汽\t温度和焓\t300\t1340\n")
batch("any_state_modes", "2\t1\t1\t4.5\n2\t2\t1\t1500\n2\t3\t200\t4\n2\t4\t400\t1000\n")
batch("comments_blank_crlf_bom", "\xEF\xBB\xBF# comment\r\n\r\n   \n0\t1\t100\r\n0\t1\t100")
batch("errors", "9\t0\t1\n0\t7\t1\n2\t0\t1\n0\t0\t1\t2\t3\t4\t5\n\xff\x01\t0\t1\n")
batch("texts", "2\t0\t1e400\t-1e400\n2\t1\t1e-400\tabc\n0\t0\t \n")
