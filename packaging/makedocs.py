#!/usr/bin/env python3
"""Writes the package's generated documentation into OUT_DIR: tz305-cli's
manual page and bash completion, both from the program's own usage text
(`tz305-cli --help`) and version line (`--version`), so neither can drift
from the commands the program takes; the desktop program's short manual
page; and the changelog, compressed as Debian wants it (gzip -9n).

Usage: makedocs.py OUT_DIR CHANGELOG [EMULATOR ...] TZ305_CLI
"""
import gzip
import os
import re
import subprocess
import sys

SPLIT = re.compile(r"\s{2,}")


def parse(usage):
    """The usage text as (synopsis, [(option, text)], [(synopsis, text)], exit)."""
    lines = usage.splitlines()
    synopsis = lines[0].split(":", 1)[1].strip()
    options, commands, exit_text = [], [], ""
    in_commands = False
    for line in lines[1:]:
        if line.startswith("命令:"):
            in_commands = True
        elif line.startswith("退出状态:"):
            exit_text = line.split(":", 1)[1].strip()
        elif not line.strip():
            continue
        elif in_commands:
            spec, _, text = line.strip().partition("   ")
            commands.append((spec, text.strip()))
        elif line.startswith("  --"):
            spec, text = SPLIT.split(line.strip(), maxsplit=1)
            options.append((spec, text))
        elif line.startswith("    ") and options:  # an option text's next line
            spec, text = options[-1]
            options[-1] = (spec, text + line.strip())
    if not options or not commands or not exit_text:
        sys.exit("fromusage: the usage text has no options, commands or exit status")
    return synopsis, options, commands, exit_text


ENVIRONMENT = [
    ("TZ305_PASSWORD", "操作员密码(未给 --password 和 --password-file 时)。"),
    ("TZ305_NEW_PASSWORD", "settings password 的新密码。"),
    ("TZ305_DATA_DIR", "代替数据文件夹。"),
]
FILES = [
    ("/usr/share/tz305/TZ_QSB", "新帐套的模板和主窗口的背景图(只读)。"),
    ("~/.local/share/tz305", "数据文件夹(XDG_DATA_HOME):演示帐套、恢复的帐套、导出的工作簿和打印设置。"),
]
CJK = re.compile(r"([\u2e80-\uffef])")


def roff(text):
    """Text as a roff line: escapes, and a break point after each Chinese
    character (groff breaks lines only at blanks otherwise)."""
    text = CJK.sub(r"\1\\:", text.replace("\\", "\\e").replace("-", "\\-"))
    return "\\&" + text if text[:1] in (".", "'") else text


def page_head(title, version, name_line):
    """The title line and the NAME section; lines fill left, unhyphenated."""
    return ['.TH %s 1 "" "%s" "TZ305"' % (roff(title.upper()), roff(version)), ".ad l", ".nh",
            ".SH NAME", name_line]


def tagged(items, font="B"):
    """A .TP paragraph per (term, text), the term in bold (B) or italics (I)."""
    out = []
    for term, text in items:
        out += [".TP", "\\f%s%s\\fR" % (font, roff(term)), roff(text)]
    return out


def man_page(usage, version):
    synopsis, options, commands, exit_text = parse(usage)
    out = page_head("tz305-cli", version, "tz305\\-cli \\- TZ305 总帐系统的命令行")
    out += [
        ".SH SYNOPSIS",
        roff(synopsis),
        ".SH DESCRIPTION",
        roff("tz305-cli 在没有窗口的机器上、在脚本中操作帐套:全局选项如登录窗口一样选择帐套并登录,"
             "每条命令调用与窗口相同的操作。表格以 TSV(带标题行)写到标准输出,"
             "提示信息以 [标题] 文字 写到标准错误。"),
        ".SH OPTIONS",
    ]
    out += tagged(options) + [".SH COMMANDS"] + tagged(commands)
    out += [".SH EXIT STATUS", roff(exit_text), ".SH ENVIRONMENT"] + tagged(ENVIRONMENT)
    out += [".SH FILES"] + tagged(FILES, "I") + [".SH SEE ALSO", "\\fBtz305\\fR(1)"]
    return "\n".join(out) + "\n"


def gui_man_page(version):
    out = page_head("tz305", version, "tz305 \\- TZ305 总帐系统")
    out += [
        ".SH SYNOPSIS",
        "\\fBtz305\\fR [\\fI帐套文件\\fR]",
        ".br",
        "\\fBtz305 \\-\\-version\\fR",
        ".SH DESCRIPTION",
        roff("小企业总帐的窗口程序:先是登录窗口,登录后主窗口是各工作窗口的框架。"
             "给出的帐套文件(例如在文件管理器中打开的 .Y24 帐套或 .QSBF24 备份)在登录窗口中已选好,"
             "如同点了选择帐套。--version 显示程序的版本。"),
        ".SH FILES",
    ]
    out += tagged(FILES, "I") + [".SH SEE ALSO", "\\fBtz305\\-cli\\fR(1)"]
    return "\n".join(out) + "\n"


def words(spec):
    """The synopsis's words without the brackets of optional parts."""
    return [w.strip("[]") for w in spec.split()[1:]]


def command_table(commands):
    """Per command: its sub-commands, options, and what each option's value is."""
    table = {}
    for spec, _ in commands:
        name = spec.split()[0]
        entry = table.setdefault(name, {"subs": [], "opts": [], "values": {}})
        ws = words(spec)
        i = 0
        while i < len(ws):
            w = ws[i]
            if w.startswith("--"):
                if w not in entry["opts"]:
                    entry["opts"].append(w)
                raw = spec.split()[1:][i]
                if not raw.endswith("]") and i + 1 < len(ws) and ws[i + 1] not in ("|", "...") \
                        and not ws[i + 1].startswith("--"):
                    entry["values"].setdefault(w, ws[i + 1])
                    i += 1
            else:
                for sub in w.split("|"):
                    if re.fullmatch(r"[a-z][a-z-]*", sub) and sub not in entry["subs"]:
                        entry["subs"].append(sub)
            i += 1
    return table


def value_action(placeholder):
    """How an option's value is completed: a folder, a file, a choice, or nothing."""
    if "文件夹" in placeholder:
        return "compopt -o filenames; COMPREPLY=($(compgen -d -- \"$cur\"))"
    if "文件" in placeholder:
        return "compopt -o filenames; COMPREPLY=($(compgen -f -- \"$cur\"))"
    if "|" in placeholder:
        return "COMPREPLY=($(compgen -W \"%s\" -- \"$cur\"))" % placeholder.replace("|", " ")
    return None


def completion(usage, version):
    synopsis, options, commands, _ = parse(usage)
    table = command_table(commands)
    global_opts = [spec.split()[0] for spec, _ in options]
    global_values = {spec.split()[0]: spec.split()[1] for spec, _ in options if len(spec.split()) > 1}
    out = [
        "# bash completion of tz305-cli (%s), written from its usage text at build time." % version,
        "_tz305_cli()",
        "{",
        "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}",
        "    local i cmd='' at=0",
        "    for ((i = 1; i < COMP_CWORD; i++)); do",
        "        case ${COMP_WORDS[i]} in",
        "            %s) ((i++)) ;;" % "|".join(global_values),
        "            --*) ;;",
        "            *) cmd=${COMP_WORDS[i]}; at=$i; break ;;",
        "        esac",
        "    done",
        "    case \"$cmd $prev\" in",
    ]
    for opt, placeholder in global_values.items():
        action = value_action(placeholder)
        if action:
            out.append("        \" %s\") %s; return ;;" % (opt, action))
    for name, entry in table.items():
        for opt, placeholder in entry["values"].items():
            action = value_action(placeholder)
            if action:
                out.append("        \"%s %s\") %s; return ;;" % (name, opt, action))
    out += [
        "    esac",
        "    if [[ -z $cmd ]]; then",
        "        if [[ $cur == -* ]]; then",
        "            COMPREPLY=($(compgen -W \"%s\" -- \"$cur\"))" % " ".join(global_opts),
        "        else",
        "            COMPREPLY=($(compgen -W \"%s\" -- \"$cur\"))" % " ".join(table),
        "        fi",
        "        return",
        "    fi",
        "    local subs='' opts=''",
        "    case $cmd in",
    ]
    for name, entry in table.items():
        out.append("        %s) subs='%s'; opts='%s' ;;" % (name, " ".join(entry["subs"]), " ".join(entry["opts"])))
    out += [
        "    esac",
        "    if [[ $cur == -* ]]; then",
        "        COMPREPLY=($(compgen -W \"$opts\" -- \"$cur\"))",
        "    elif ((COMP_CWORD == at + 1)) && [[ -n $subs ]]; then",
        "        COMPREPLY=($(compgen -W \"$subs\" -- \"$cur\"))",
        "    fi",
        "}",
        "complete -F _tz305_cli tz305-cli",
    ]
    return "\n".join(out) + "\n"


def write_gzip(path, data):
    """gzip -9n: no name or time stored, so the file is the same every build."""
    with open(path, "wb") as raw, gzip.GzipFile(filename="", mode="wb", compresslevel=9, fileobj=raw,
                                                 mtime=0) as f:
        f.write(data.encode("utf-8"))


def main():
    out_dir, changelog, program = sys.argv[1], sys.argv[2], sys.argv[3:]
    run = lambda option: subprocess.run(program + [option], check=True, capture_output=True,
                                        encoding="utf-8").stdout
    usage, version = run("--help"), run("--version").strip()
    gui_version = version.replace("tz305-cli", "tz305", 1)
    os.makedirs(out_dir, exist_ok=True)
    write_gzip(os.path.join(out_dir, "tz305-cli.1.gz"), man_page(usage, version))
    write_gzip(os.path.join(out_dir, "tz305.1.gz"), gui_man_page(gui_version))
    with open(os.path.join(out_dir, "tz305-cli"), "w", encoding="utf-8") as f:
        f.write(completion(usage, version))
    with open(changelog, encoding="utf-8") as f:
        write_gzip(os.path.join(out_dir, "changelog.gz"), f.read())


if __name__ == "__main__":
    main()
