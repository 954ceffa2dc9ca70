#!/usr/bin/python3
"""Drives the running calculator through the accessibility bridge (AT-SPI): checks that every
labelled field is announced by its label, presses "定价" and "风险指标计算", and takes a
screenshot after start-up and after each press.

Usage: drive_calculator.py OUTPUT_DIR    (needs DISPLAY and the session bus of the program)
Exit code 0 when every check passed."""
import subprocess
import sys
import time

import pyatspi

APP_NAME = "brimvale"
WAIT_SECONDS = 30

# Every field with a visible label, announced by that label's text.
LABELLED_FIELDS = [
    "期初价格", "波动率(%)", "分红率(%)", "无风险利率(%)", "到期天数(交易日)", "理论价格",
    "敲出票息(%)", "红利票息(%)", "敲出价格", "敲入价格", "保底价格", "看涨行权价", "看涨参与率",
    "区间开始:", "区间结束:", "目标值:", "今价：", "今日：", "价格:", "Delta", "Gamma",
    "Theta(1D)", "Vega", "Rho(1%)", "价格上限", "M", "N", "小数位数:", "PDE年天数",
]
# Combo boxes: Qt names them by their current item and links them to their label.
LABELLED_COMBOS = ["类型", "雪球类别：", "日数"]
BUTTONS = ["定价", "知x求1", "区间求解", "风险指标计算", "单变量-价格图", "查表", "压力测试",
           "胜率分析", "?", "导出CSV", "打开...", "另存为..."]


def wait_for(what, probe):
    deadline = time.time() + WAIT_SECONDS
    while time.time() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    sys.exit("timed out waiting for " + what)


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == APP_NAME and app.childCount > 0:
            return app
    return None


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def label_of(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return None


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def screenshot(out_dir, name):
    subprocess.run(["import", "-window", "root", f"{out_dir}/{name}.png"], check=True)


def press(nodes, name):
    button = next(n for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == name)
    actions = button.queryAction()
    actions.doAction(0)


def main():
    out_dir = sys.argv[1]
    app = wait_for("the calculator on the accessibility bus", find_app)
    nodes = wait_for("the price button", lambda: [
        n for n in walk(app)] if any(n.name == "定价" for n in walk(app)) else None)
    failures = []

    fields = {n.name: n for n in nodes if n.getRole() == pyatspi.ROLE_TEXT}
    for label in LABELLED_FIELDS:
        if label not in fields:
            failures.append(f"no text field announced as {label!r}")
    combos = [label_of(n) for n in nodes if n.getRole() == pyatspi.ROLE_COMBO_BOX]
    for label in LABELLED_COMBOS:
        if label not in combos:
            failures.append(f"no combo box labelled by {label!r}")
    buttons = {n.name for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    for name in BUTTONS:
        if name not in buttons:
            failures.append(f"no button announced as {name!r}")
    print(f"accessibility: {len(fields)} text fields, {len(combos)} combo boxes, "
          f"{len(buttons)} buttons announced")

    screenshot(out_dir, "1_start")
    press(nodes, "定价")
    price = wait_for("a price", lambda: text_of(fields["理论价格"]))
    print("price:", price)
    screenshot(out_dir, "2_price")
    press(nodes, "风险指标计算")
    greeks = wait_for("the Greeks", lambda: text_of(fields["Delta"]) and
                      [text_of(fields[g]) for g in ("价格:", "Delta", "Gamma", "Theta(1D)",
                                                    "Vega", "Rho(1%)")])
    print("greeks:", " ".join(greeks))
    screenshot(out_dir, "3_greeks")

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
