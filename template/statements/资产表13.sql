-- Balance sheet, small-enterprise layout (会小企01表): one row per printed
-- row, assets on the left (lines 1-30), liabilities and owners' equity on
-- the right (lines 31-53), with the official item names and line numbers.
-- The liabilities run beside the first seventeen rows down to 负债合计; the
-- equity lines take the last six rows, so that 负债和所有者权益（或股东权益）
-- 总计 stands beside 资产总计 on the last row; rows 18-24 have no right side.
--
-- A formula joins account codes with + and -; a level-1 code takes in all
-- its sub-accounts. No code is named twice in a formula, nor together with
-- one of its own sub-accounts. Balances are figured on each account's own
-- side, so the contra accounts 1407 商品进销差价, 1602 累计折旧, 1622
-- 生产性生物资产累计折旧 and 1702 累计摊销 are subtracted on the asset side,
-- while 减：累计折旧 names 1602 itself and shows a positive figure. A total
-- cannot refer to other lines, so it lists every account of the lines it
-- adds up.
--
-- Every level-1 account of classes 1-4 appears exactly once in 资产总计 or
-- in the grand total on the right (debit-side accounts added and credit-side
-- ones subtracted on the asset side, credit-side accounts added on the
-- right), and every profit-and-loss account is taken off the right side
-- through its mirror row, so the two totals agree for any balanced books,
-- whether the months are closed into 3103 本年利润 or not. Choices made:
--   存货 holds the stock accounts 1401-1421 (1404 材料成本差异 added as the
--     debit-side account it is, 1407 subtracted) and the cost accounts 4001
--     生产成本, 4101 制造费用, 4401 工程施工 and 4403 机械作业;
--   其中：原材料 is actual cost 1403+1404, 在产品 is 4001, 库存商品 is cost
--     1405-1407;
--   1901 待处理财产损溢 is to be cleared before the year ends; a balance left
--     at month end is shown in 其他流动资产;
--   4301 研发支出 holds development costs not yet moved to 无形资产 and is
--     shown in 开发支出;
--   未分配利润 is 3103 本年利润 + 3104 利润分配, less the balances of the
--   profit-and-loss accounts not yet transferred (their mirror rows), so a
--   month that is not closed yet balances too;
--   其他非流动资产, 其他流动负债 and 其他非流动负债 have no account in the
--     chart and no formula, so they print empty.
-- The 年初余额 column uses the same formulas.

INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (1, '货币资金', 1, '1001+1002+1012', '短期借款', 31, '2001');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (2, '短期投资', 2, '1101', '应付票据', 32, '2201');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (3, '应收票据', 3, '1121', '应付账款', 33, '2202');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (4, '应收账款', 4, '1122', '预收账款', 34, '2203');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (5, '预付账款', 5, '1123', '应付职工薪酬', 35, '2211');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (6, '应收股利', 6, '1131', '应交税费', 36, '2221');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (7, '应收利息', 7, '1132', '应付利息', 37, '2231');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (8, '其他应收款', 8, '1221', '应付利润', 38, '2232');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (9, '存货', 9, '1401+1402+1403+1404+1405-1407+1408+1411+1421+4001+4101+4401+4403', '其他应付款', 39, '2241');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (10, '其中：原材料', 10, '1403+1404', '其他流动负债', 40, NULL);
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (11, '在产品', 11, '4001', '流动负债合计', 41, '2001+2201+2202+2203+2211+2221+2231+2232+2241');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (12, '库存商品', 12, '1405-1407', '长期借款', 42, '2501');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (13, '周转材料', 13, '1411', '长期应付款', 43, '2701');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (14, '其他流动资产', 14, '1901', '递延收益', 44, '2401');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (15, '流动资产合计', 15, '1001+1002+1012+1101+1121+1122+1123+1131+1132+1221+1401+1402+1403+1404+1405-1407+1408+1411+1421+4001+4101+4401+4403+1901', '其他非流动负债', 45, NULL);
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (16, '长期债券投资', 16, '1501', '非流动负债合计', 46, '2501+2701+2401');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (17, '长期股权投资', 17, '1511', '负债合计', 47, '2001+2201+2202+2203+2211+2221+2231+2232+2241+2501+2701+2401');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (18, '固定资产原价', 18, '1601', NULL, NULL, NULL);
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (19, '减：累计折旧', 19, '1602', NULL, NULL, NULL);
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (20, '固定资产账面价值', 20, '1601-1602', NULL, NULL, NULL);
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (21, '在建工程', 21, '1604', NULL, NULL, NULL);
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (22, '工程物资', 22, '1605', NULL, NULL, NULL);
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (23, '固定资产清理', 23, '1606', NULL, NULL, NULL);
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (24, '生产性生物资产', 24, '1621-1622', NULL, NULL, NULL);
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (25, '无形资产', 25, '1701-1702', '实收资本（或股本）', 48, '3001');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (26, '开发支出', 26, '4301', '资本公积', 49, '3002');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (27, '长期待摊费用', 27, '1801', '盈余公积', 50, '3101');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (28, '其他非流动资产', 28, NULL, '未分配利润', 51, '3103+3104-5001-5051-5111-5301-5401-5402-5403-5601-5602-5603-5711-5801');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (29, '非流动资产合计', 29, '1501+1511+1601-1602+1604+1605+1606+1621-1622+1701-1702+4301+1801', '所有者权益（或股东权益）合计', 52, '3001+3002+3101+3103+3104-5001-5051-5111-5301-5401-5402-5403-5601-5602-5603-5711-5801');
INSERT INTO 资产表13 (序号, 资产, 行次1, 公式1, 负债及所有者权益, 行次2, 公式2) VALUES (30, '资产总计', 30, '1001+1002+1012+1101+1121+1122+1123+1131+1132+1221+1401+1402+1403+1404+1405-1407+1408+1411+1421+4001+4101+4401+4403+1901+1501+1511+1601-1602+1604+1605+1606+1621-1622+1701-1702+4301+1801', '负债和所有者权益（或股东权益）总计', 53, '2001+2201+2202+2203+2211+2221+2231+2232+2241+2501+2701+2401+3001+3002+3101+3103+3104-5001-5051-5111-5301-5401-5402-5403-5601-5602-5603-5711-5801');
