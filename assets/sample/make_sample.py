#!/usr/bin/env python3
"""Writes the sample event that `make run` lays into an empty program folder.

set.dat      200 participants, "staff number  name  " (the shape the list editor saves for columns 2-3)
jiangx.dat   five awards, smallest first, so the default draw order builds up to the grand prize
shezhijx.dat the batch plan of those awards in forward order, one line per batch
config.ini   event titles and the total quota, so the stage opens with a real-looking event

Every file is GB18030 text with CR LF line ends, as the program stores them. The output is fixed (seeded),
so running the script again gives the same bytes.

    python3 assets/sample/make_sample.py [OUTPUT_DIR]   (default: the folder of this script)
"""

import os
import random
import sys

SURNAMES = (
    "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘蒋蔡余杜叶程苏魏吕丁任沈"
    "姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛段雷侯龙史陶黎贺顾毛郝龚邵万钱严武戴莫孔向汤"
)
GIVEN_ONE = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超霞平刚辉鹏华飞玲斌波宇浩凯健琳雪婷颖琦晨阳欣悦萌帆毅峰"
GIVEN_TWO = (
    "子涵 浩然 欣怡 宇轩 思远 雨萱 佳怡 俊杰 志强 建华 晓东 海燕 丽华 文博 嘉怡 梓萱 一鸣 天佑 明哲 雅婷 "
    "建国 秀英 桂英 玉兰 晓燕 红梅 春生 国强 永红 志明 立新 少华 家豪 博文 诗琪 梦洁 晓峰 振宇 思彤 若曦 "
    "俊熙 雨桐 可馨 泽宇 昊天 晨曦 嘉欣 子墨 书瑶 思睿 宏伟 丽娟 美玲 学军 卫东 海涛 佳琪 紫涵 婉清 一诺"
).split()

# Awards: name, quota, batches, batch detail, prize. Listed smallest first: the default draw order takes the
# table from the top, so the evening ends with the grand prize.
AWARDS = [
    ("参与奖", 30, 3, "10+10+10", "奖品：定制保温杯一只"),
    ("三等奖", 20, 2, "10+10", "奖品：无线蓝牙耳机一副"),
    ("二等奖", 10, 2, "5+5", "奖品：平板电脑一台"),
    ("一等奖", 3, 1, "3", "奖品：笔记本电脑一台"),
    ("特等奖", 1, 1, "1", "奖品：海岛双人游"),
]

PARTICIPANTS = 200


def participants():
    rng = random.Random(20260209)
    names = []
    seen = set()
    while len(names) < PARTICIPANTS - 1:
        given = rng.choice(GIVEN_TWO) if rng.random() < 0.6 else rng.choice(GIVEN_ONE)
        name = rng.choice(SURNAMES) + given
        if name not in seen:
            seen.add(name)
            names.append(name)
    # One name with a character outside GBK (U+4DAE), as real staff lists have: it must survive the round
    # trip through every file the draw writes.
    names.insert(137, "龚䶮")
    return ["%04d  %s  " % (i + 1, name) for i, name in enumerate(names)]


def award_table():
    return ["%s,%d,%d,%s,%s,," % (name, quota, batches, detail, prize) for name, quota, batches, detail, prize in AWARDS]


def batch_plan():
    lines = []
    for name, quota, batches, detail, prize in AWARDS:
        if batches < 2:
            lines.append("%s,%d,%d,1,%s,%s,," % (name, quota, batches, detail, prize))
            continue
        for k, size in enumerate(detail.split("+"), start=1):
            lines.append("%s,%d,%d,%d,%s,%s,," % (name, quota, batches, k, size, prize))
    return lines


def settings():
    total = sum(quota for _, quota, _, _, _ in AWARDS)
    return [
        "[标题设置]",
        "主标题=2026年度盛典暨颁奖晚会",
        "副标题=感恩同行 共创未来",
        "字幕区文字=祝全体同事新年快乐，万事如意！",
        "中奖名额=%d" % total,
    ]


def write(folder, name, lines):
    data = "".join(line + "\r\n" for line in lines).encode("gb18030")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)
    print("wrote %s (%d lines, %d bytes)" % (os.path.join(folder, name), len(lines), len(data)))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(folder, exist_ok=True)
    for _, quota, batches, detail, _ in AWARDS:
        parts = [int(x) for x in detail.split("+")]
        assert len(parts) == batches and sum(parts) == quota, detail
    write(folder, "set.dat", participants())
    write(folder, "jiangx.dat", award_table())
    write(folder, "shezhijx.dat", batch_plan())
    write(folder, "config.ini", settings())


if __name__ == "__main__":
    main()
