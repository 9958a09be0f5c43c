-- Income statement, small-enterprise layout (会小企02表): lines 1-32 with the
-- official item names and line numbers.
--
-- The figures of a profit-and-loss account come from the month-end closing
-- lines, income and expense both as positive amounts, so income is added
-- and costs and expenses subtracted: 营业利润 is 5001+5051 plus 5111 投资收益
-- less 5401, 5402, 5403, 5601, 5602 and 5603; 利润总额 adds 5301 营业外收入 and
-- subtracts 5711 营业外支出; 净利润 also subtracts 5801 所得税费用. 净利润 thus
-- names every level-1 profit-and-loss account once and equals the amount
-- closed into 3103 本年利润.
--
-- The 其中 lines take the sub-accounts the chart ships with: 广告费和业务
-- 宣传费 5601001 广告费, 业务招待费 5602003, 利息费用 5603001 利息 (negative
-- when interest income exceeds it), 政府补助 5301001, 坏账损失 5711001,
-- 税收滞纳金 5711002. The individual taxes under 税金及附加, 商品维修费,
-- 开办费, 研究费用 and the other 营业外支出 items have no account in the chart
-- and no formula, so they print empty.

INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (1, '一、营业收入', 1, '5001+5051');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (2, '减：营业成本', 2, '5401+5402');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (3, '税金及附加', 3, '5403');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (4, '其中：消费税', 4, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (5, '营业税', 5, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (6, '城市维护建设税', 6, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (7, '资源税', 7, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (8, '土地增值税', 8, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (9, '城镇土地使用税、房产税、车船税、印花税', 9, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (10, '教育费附加、矿产资源补偿费、排污费', 10, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (11, '销售费用', 11, '5601');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (12, '其中：商品维修费', 12, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (13, '广告费和业务宣传费', 13, '5601001');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (14, '管理费用', 14, '5602');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (15, '其中：开办费', 15, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (16, '业务招待费', 16, '5602003');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (17, '研究费用', 17, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (18, '财务费用', 18, '5603');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (19, '其中：利息费用（收入以"-"号填列）', 19, '5603001');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (20, '加：投资收益（损失以"-"号填列）', 20, '5111');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (21, '二、营业利润（亏损以"-"号填列）', 21, '5001+5051+5111-5401-5402-5403-5601-5602-5603');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (22, '加：营业外收入', 22, '5301');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (23, '其中：政府补助', 23, '5301001');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (24, '减：营业外支出', 24, '5711');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (25, '其中：坏账损失', 25, '5711001');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (26, '无法收回的长期债券投资损失', 26, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (27, '无法收回的长期股权投资损失', 27, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (28, '自然灾害等不可抗力因素造成的损失', 28, NULL);
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (29, '税收滞纳金', 29, '5711002');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (30, '三、利润总额（亏损总额以"-"号填列）', 30, '5001+5051+5111-5401-5402-5403-5601-5602-5603+5301-5711');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (31, '减：所得税费用', 31, '5801');
INSERT INTO 利润表13 (序号, 项目, 行次, 公式) VALUES (32, '四、净利润（净亏损以"-"号填列）', 32, '5001+5051+5111-5401-5402-5403-5601-5602-5603+5301-5711-5801');
