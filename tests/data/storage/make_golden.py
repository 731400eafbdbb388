#!/usr/bin/env python3
"""Writes the golden files of the storage tests, byte for byte, independently of the program's
own code: GB18030 text with CR LF line ends, as the program must read and write it."""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent


def write(name, text):
    (HERE / name).write_bytes(text.encode("gb18030"))


CRLF = "\r\n"

write("jiangx.dat",
      "一等奖,1,1,1,奖品：笔记本一台,/pics/laptop.jpg," + CRLF +
      "三等奖,8,2,5+3,奖品：MP4一部,," + CRLF +
      "纪念奖,3,3,1+1+1,奖品：纪念品,," + CRLF)

write("shezhijx_forward.dat",
      "一等奖,1,1,1,1,奖品：笔记本一台,/pics/laptop.jpg," + CRLF +
      "三等奖,8,2,1,5,奖品：MP4一部,," + CRLF +
      "三等奖,8,2,2,3,奖品：MP4一部,," + CRLF +
      "纪念奖,3,3,1,1,奖品：纪念品,," + CRLF +
      "纪念奖,3,3,2,1,奖品：纪念品,," + CRLF +
      "纪念奖,3,3,3,1,奖品：纪念品,," + CRLF)

write("shezhijx_reverse.dat",
      "一等奖,1,1,1,1,奖品：笔记本一台,/pics/laptop.jpg," + CRLF +
      "三等奖,8,2,1,3,奖品：MP4一部,," + CRLF +
      "三等奖,8,2,2,5,奖品：MP4一部,," + CRLF +
      "纪念奖,3,3,1,1,奖品：纪念品,," + CRLF +
      "纪念奖,3,3,2,1,奖品：纪念品,," + CRLF +
      "纪念奖,3,3,3,1,奖品：纪念品,," + CRLF)

write("person.dat",
      "一等奖-1-1：欢迎xx(经理)领导抽取一等奖：1" + CRLF +
      "三等奖-2-2：请𪚥总上台抽取三等奖：3" + CRLF)

write("result.dat",
      "三等奖-奖品：MP4一部-017-012-009-004-001-033-028-021-015-006-" + CRLF +
      "一等奖-奖品：笔记本一台-042-")

SEP = "-" * 110


def block(when, award, winners):
    return CRLF + CRLF + SEP + CRLF + CRLF + when + CRLF + CRLF + "【" + award + "】\t" + \
        "".join(w + "\t" for w in winners) + CRLF


write("result.txt",
      block("2017年3月8日9时", "三等奖", ["017", "012", "009", "004", "001"]) +
      block("2017年3月8日9时0分5秒", "三等奖", ["033", "028", "021", "015", "006"]) +
      block("2017年3月8日14时5分9秒", "一等奖", ["042"]))

# Undo of the second batch of 三等奖 after the two 三等奖 batches only.
write("result_after_undo_second.dat", "三等奖-奖品：MP4一部-017-012-009-004-001-")
write("result_after_undo_second.txt",
      block("2017年3月8日9时", "三等奖", ["017", "012", "009", "004", "001"]) + CRLF + CRLF + SEP)

# A settings file as another program or a person left it: comments, odd spacing and case,
# duplicates, a quoted value and a line without "=".
write("config_before.ini",
      "; kept as written" + CRLF +
      "[标题设置]" + CRLF +
      "主标题=年会 2026" + CRLF +
      "  副标题  =  \"  欢迎光临  \"  " + CRLF +
      "主标题=不会被读到" + CRLF +
      "没有等号的行" + CRLF +
      "" + CRLF +
      "[Lock_Screen]" + CRLF +
      "PassWord=abc" + CRLF +
      "[标题设置]" + CRLF +
      "字幕区文字=第二个同名节不会被读到" + CRLF)

# After writing 主标题 (replaced in place), 中奖名额 (new key at the end of its section, before
# the blank line), and 文字抽奖模式 in a new section 模式 at the end of the file.
write("config_after.ini",
      "; kept as written" + CRLF +
      "[标题设置]" + CRLF +
      "主标题=新年晚会" + CRLF +
      "  副标题  =  \"  欢迎光临  \"  " + CRLF +
      "主标题=不会被读到" + CRLF +
      "没有等号的行" + CRLF +
      "中奖名额=12" + CRLF +
      "" + CRLF +
      "[Lock_Screen]" + CRLF +
      "PassWord=abc" + CRLF +
      "[标题设置]" + CRLF +
      "字幕区文字=第二个同名节不会被读到" + CRLF +
      "" + CRLF +
      "[模式]" + CRLF +
      "文字抽奖模式=假" + CRLF)

write("set_two_columns.dat",
      "1001  张三  " + CRLF +
      "1002  李𪚥  " + CRLF +
      "1003    " + CRLF)

def fnv1a64(data):
    h = 14695981039346656037
    for b in data:
        h = ((h ^ b) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return "%016x" % h


exit_body = ("[exit]" + CRLF +
             "number= 001--002----004--" + CRLF +
             "award_list=三等奖,8,2,2,3,奖品：MP4一部,,--一等奖,1,1,1,1,奖品：笔记本一台,,--" + CRLF +
             "award_name=三等奖" + CRLF +
             "index=1" + CRLF +
             "index_number=5" + CRLF)
write("exit.ini", exit_body + "checksum=" + fnv1a64(exit_body.encode("gb18030")) + CRLF)
