-- Balance sheet, general-enterprise layout (会企01表, 2007 standard): one row
-- per printed row. The official form prints no line numbers, so the rows
-- number their own lines: assets 1-31 on the left, liabilities and owners'
-- equity 32-60 on the right. The liabilities run beside the first 22 rows
-- down to 负债合计; the equity lines take the last seven rows, so that the
-- two grand totals share the last row; rows 23-24 have no right side.
--
-- This layout reads the same small-enterprise chart, each line taking the
-- nearest accounts: 交易性金融资产 is 1101 短期投资, 持有至到期投资 is 1501
-- 长期债券投资, 应付股利 is 2232 应付利润, and 其他非流动负债 is 2401 递延收益
-- (the form has no 递延收益 line). 固定资产, 生产性生物资产 and 无形资产 show
-- book value (cost less accumulated depreciation or amortisation). 存货,
-- 其他流动资产 (1901 待处理财产损溢), 开发支出 (4301 研发支出) and 未分配利润
-- (3103+3104, less the profit-and-loss balances not yet transferred) are as
-- in the small-enterprise layout. Lines with no account
-- in the chart have no formula and print empty.
--
-- A formula joins account codes with + and -; a level-1 code takes in all
-- its sub-accounts; no code is named twice in a formula. Balances are
-- figured on each account's own side, so the contra accounts 1407, 1602,
-- 1622 and 1702 are subtracted on the asset side. A total lists every
-- account of the lines it adds up. Every level-1 account of classes 1-4
-- appears exactly once in one of the two grand totals and every
-- profit-and-loss account is taken off the right side through its mirror
-- row, so they agree for any balanced books, months closed or not. The
-- 年初余额 column uses the same formulas.

INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (1, '货币资金', 1, '1001+1002+1012', '短期借款', 32, '2001');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (2, '交易性金融资产', 2, '1101', '交易性金融负债', 33, NULL);
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (3, '应收票据', 3, '1121', '应付票据', 34, '2201');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (4, '应收账款', 4, '1122', '应付账款', 35, '2202');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (5, '预付款项', 5, '1123', '预收款项', 36, '2203');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (6, '应收利息', 6, '1132', '应付职工薪酬', 37, '2211');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (7, '应收股利', 7, '1131', '应交税费', 38, '2221');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (8, '其他应收款', 8, '1221', '应付利息', 39, '2231');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (9, '存货', 9, '1401+1402+1403+1404+1405-1407+1408+1411+1421+4001+4101+4401+4403', '应付股利', 40, '2232');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (10, '一年内到期的非流动资产', 10, NULL, '其他应付款', 41, '2241');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (11, '其他流动资产', 11, '1901', '一年内到期的非流动负债', 42, NULL);
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (12, '流动资产合计', 12, '1001+1002+1012+1101+1121+1122+1123+1132+1131+1221+1401+1402+1403+1404+1405-1407+1408+1411+1421+4001+4101+4401+4403+1901', '其他流动负债', 43, NULL);
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (13, '可供出售金融资产', 13, NULL, '流动负债合计', 44, '2001+2201+2202+2203+2211+2221+2231+2232+2241');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (14, '持有至到期投资', 14, '1501', '长期借款', 45, '2501');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (15, '长期应收款', 15, NULL, '应付债券', 46, NULL);
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (16, '长期股权投资', 16, '1511', '长期应付款', 47, '2701');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (17, '投资性房地产', 17, NULL, '专项应付款', 48, NULL);
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (18, '固定资产', 18, '1601-1602', '预计负债', 49, NULL);
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (19, '在建工程', 19, '1604', '递延所得税负债', 50, NULL);
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (20, '工程物资', 20, '1605', '其他非流动负债', 51, '2401');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (21, '固定资产清理', 21, '1606', '非流动负债合计', 52, '2501+2701+2401');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (22, '生产性生物资产', 22, '1621-1622', '负债合计', 53, '2001+2201+2202+2203+2211+2221+2231+2232+2241+2501+2701+2401');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (23, '油气资产', 23, NULL, NULL, NULL, NULL);
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (24, '无形资产', 24, '1701-1702', NULL, NULL, NULL);
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (25, '开发支出', 25, '4301', '实收资本（或股本）', 54, '3001');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (26, '商誉', 26, NULL, '资本公积', 55, '3002');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (27, '长期待摊费用', 27, '1801', '减：库存股', 56, NULL);
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (28, '递延所得税资产', 28, NULL, '盈余公积', 57, '3101');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (29, '其他非流动资产', 29, NULL, '未分配利润', 58, '3103+3104-5001-5051-5111-5301-5401-5402-5403-5601-5602-5603-5711-5801');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (30, '非流动资产合计', 30, '1501+1511+1601-1602+1604+1605+1606+1621-1622+1701-1702+4301+1801', '所有者权益（或股东权益）合计', 59, '3001+3002+3101+3103+3104-5001-5051-5111-5301-5401-5402-5403-5601-5602-5603-5711-5801');
INSERT INTO 资产表07 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (31, '资产总计', 31, '1001+1002+1012+1101+1121+1122+1123+1132+1131+1221+1401+1402+1403+1404+1405-1407+1408+1411+1421+4001+4101+4401+4403+1901+1501+1511+1601-1602+1604+1605+1606+1621-1622+1701-1702+4301+1801', '负债和所有者权益（或股东权益）总计', 60, '2001+2201+2202+2203+2211+2221+2231+2232+2241+2501+2701+2401+3001+3002+3101+3103+3104-5001-5051-5111-5301-5401-5402-5403-5601-5602-5603-5711-5801');
